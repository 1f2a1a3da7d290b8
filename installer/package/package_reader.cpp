#include "installer/package/package_reader.h"

#include <charconv>
#include <ostream>

#include "installer/package/package_error.h"
#include "installer/package/zlib_streams.h"

namespace clangor::outfit {

namespace {

constexpr std::size_t ChunkSize = 65536;

[[noreturn]] void Damaged(const std::string& what) {
  throw PackageError("The setup package is damaged: " + what + ".");
}

int Number(const std::string& text, int fallback) {
  int value = fallback;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

PackageSettings ParseSettings(std::vector<std::string> fields) {
  fields.resize(13);
  PackageSettings s;
  s.applicationName = fields[0];
  s.publisher = fields[1];
  s.version = fields[2];
  s.uninstallKey = fields[3];
  s.caption = fields[4];
  s.year = Number(fields[5], 2000);
  s.month = Number(fields[6], 1);
  s.day = Number(fields[7], 1);
  s.helpLink = fields[8];
  s.urlInfoUpdate = fields[9];
  s.urlInfoAbout = fields[10];
  s.displayIcon = fields[11];
  s.iconIndex = Number(fields[12], -1);
  return s;
}

// Takes a form-feed ended field from `text` at `at`.
std::string TakeField(const std::string& text, std::size_t& at, const char* what) {
  std::size_t end = text.find('\f', at);
  if (end == std::string::npos) Damaged(std::string("a ") + what + " record is cut short");
  std::string field = text.substr(at, end - at);
  at = end + 1;
  return field;
}

std::uint8_t TakeByte(const std::string& text, std::size_t& at, const char* what) {
  if (at >= text.size()) Damaged(std::string("a ") + what + " record is cut short");
  return static_cast<std::uint8_t>(text[at++]);
}

std::uint16_t TakeU16(const std::string& text, std::size_t& at, const char* what) {
  std::uint16_t low = TakeByte(text, at, what);
  return static_cast<std::uint16_t>(low | (TakeByte(text, at, what) << 8));
}

std::vector<FileType> ParseFileTypes(const std::string& text) {
  std::vector<FileType> types;
  std::size_t at = 0;
  while (at < text.size()) {
    FileType t;
    t.flag = static_cast<char>(TakeByte(text, at, "file type"));
    t.extension = TakeField(text, at, "file type");
    t.description = TakeField(text, at, "file type");
    t.value = TakeU16(text, at, "file type");
    t.byte = TakeByte(text, at, "file type");
    int actions = TakeByte(text, at, "file type");
    for (int i = 0; i < actions; ++i) {
      FileTypeAction a;
      a.verb = TakeField(text, at, "file type");
      a.value = TakeU16(text, at, "file type");
      a.command = TakeField(text, at, "file type");
      t.actions.push_back(std::move(a));
    }
    types.push_back(std::move(t));
  }
  return types;
}

}  // namespace

PackageReader::PackageReader(std::string packagePath, PackageVolumes::MissingVolumePrompt prompt)
    : volumes_(std::move(packagePath), std::move(prompt)) {}

void PackageReader::ReadHeader() {
  PackageCursor in(volumes_, volumes_.DataStart() + 4);
  package_.messages = in.Lines("messages");
  std::string setup = in.Text("setup data");
  if (setup.empty()) Damaged("it has no setup data");
  char flag = setup.back();
  setup.pop_back();
  if (!setup.empty() && setup.back() == '\f') setup.pop_back();
  package_.settings = ParseSettings(SplitFields(setup, '\f'));
  std::vector<std::string> temporary;
  if (flag != 0 && flag != '0') {
    package_.welcome = in.Text("welcome text");
    for (const auto& line : in.Lines("folder list")) {
      auto parts = SplitFields(line, '\t');
      if (parts.size() != 3 || parts[0].empty()) Damaged("a line of its folder list is not a folder");
      PackageFolder f{parts[0], parts[1], parts[2], false};
      if (!f.path.empty() && f.path[0] == '*') {
        f.shared = true;
        f.path.erase(0, 1);
      }
      package_.folders.push_back(std::move(f));
    }
    temporary = in.Lines("list of temporary files");
  }
  package_.portable = in.Byte() != 0;
  if (package_.portable) {
    package_.portableBytes = {in.Byte(), in.Byte()};
    package_.portableFolder = in.Text("portable folder");
  }
  auto raw = in.Bytes(68);
  std::copy(raw.begin(), raw.end(), package_.raw68.begin());
  package_.byteA = in.Byte();
  package_.byteB = in.Byte();
  raw = in.Bytes(39);
  std::copy(raw.begin(), raw.end(), package_.raw39.begin());
  if (in.Byte()) {
    auto block = in.Block(97, "settings block");
    package_.block97.emplace();
    std::copy(block.begin(), block.end(), package_.block97->begin());
  }
  package_.files.clear();
  for (auto& name : temporary) {
    PackageFile f;
    f.name = std::move(name);
    f.temporary = true;
    package_.files.push_back(std::move(f));
  }
  sections_ = in.Position();
}

void PackageReader::ReadComponents(PackageCursor& in) {
  int count = in.Byte();
  package_.components.clear();
  for (int i = 0; i < count; ++i) {
    std::string text = in.Text("component");
    std::size_t at = 0;
    Component c;
    std::uint8_t flags = TakeByte(text, at, "component");
    c.required = flags & 1;
    c.selected = flags & 2;
    std::size_t length = TakeByte(text, at, "component");
    if (at + length > text.size()) Damaged("a component's name is longer than its record");
    c.name = text.substr(at, length);
    at += length;
    std::size_t data = TakeByte(text, at, "component");
    if (at + data > text.size()) Damaged("a component's data is longer than its record");
    c.data.assign(text.begin() + static_cast<std::ptrdiff_t>(at), text.begin() + static_cast<std::ptrdiff_t>(at + data));
    c.description = text.substr(at + data);
    package_.components.push_back(std::move(c));
  }
}

void PackageReader::ReadFileTables(PackageCursor& in) {
  for (auto& name : in.Lines("file list")) {
    PackageFile f;
    f.name = std::move(name);
    package_.files.push_back(std::move(f));
  }
  auto& files = package_.files;
  for (auto& f : files) {
    f.position = in.I32();
    f.copiedFromTemporary = f.position == -1 && !f.temporary;
    if (f.position < -1 || (f.position == -1 && f.temporary)) Damaged("a file's position lies outside it");
  }
  for (auto& f : files) f.dosDateTime = in.U32();
  for (auto& f : files) {
    f.versionLow = in.U32();
    f.versionHigh = in.U32();
  }
  for (auto& f : files) f.size = in.U32();
  for (auto& f : files) f.crc = in.U32();
  for (auto& c : package_.components) {
    for (;;) {
      std::uint8_t length = in.Byte();
      if (length >= 254) break;
      auto name = in.Bytes(length);
      c.folders.emplace_back(name.begin(), name.end());
    }
  }
  package_.textAfterFolders = in.Text("file attributes");
  ApplyFileAttributes();
}

void PackageReader::ApplyFileAttributes() {
  auto lines = SplitLines(package_.textAfterFolders);
  if (lines.size() != package_.files.size()) Damaged("its file attributes do not match its files");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto parts = SplitFields(lines[i], '\t');
    parts.resize(3);
    PackageFile& f = package_.files[i];
    f.component = Number(parts[0], -1);
    f.overwriteMode = Number(parts[1], OverwriteNever);
    f.shared = parts[2].find('s') != std::string::npos;
    f.keep = parts[2].find('k') != std::string::npos;
    if (f.component < 0 || f.component >= static_cast<int>(std::max<std::size_t>(package_.components.size(), 1)))
      Damaged("a file belongs to a component it does not have");
  }
}

void PackageReader::ReadShortcuts(PackageCursor& in) {
  std::uint16_t count = in.U16();
  auto lines = in.Lines("shortcuts");
  if (lines.size() != count) Damaged("its count of shortcuts does not match its list");
  for (const auto& line : lines) {
    auto parts = SplitFields(line, '\t');
    if (parts.size() != 7) Damaged("a shortcut line is not a shortcut");
    Shortcut s{Number(parts[0], -1), parts[1], parts[2], parts[3], parts[4], parts[5], Number(parts[6], 0)};
    if (s.component < 0 || s.component >= static_cast<int>(package_.components.size()))
      Damaged("a shortcut belongs to a component it does not have");
    package_.shortcuts.push_back(std::move(s));
  }
}

void PackageReader::ReadSections() {
  if (sections_ < 0) ReadHeader();
  PackageCursor in(volumes_, sections_);
  ReadComponents(in);
  ReadFileTables(in);
  package_.fileTypes = ParseFileTypes(in.Text("file types"));
  package_.dotNet = {};
  package_.dotNet.flags = in.Byte();
  if (package_.dotNet.flags) {
    package_.dotNet.installerFile = in.Text(".NET installer name");
    package_.dotNet.downloadAddress = in.Text(".NET download address");
    package_.dotNet.installerSize = in.U32();
    package_.dotNet.installerPosition = in.I32();
  }
  std::uint32_t programs = in.U32();
  package_.programs.clear();
  for (std::uint32_t i = 0; i < programs; ++i) {  // a lying count ends at the package's end
    AdditionalProgram p;
    for (auto& t : p.texts) t = in.Text("additional program");
    p.wait = in.U32();
    p.show = in.U32();
    package_.programs.push_back(std::move(p));
  }
  package_.shortcutOptions = in.Byte();
  package_.shortcuts.clear();
  if (package_.shortcutOptions & 4) ReadShortcuts(in);
  package_.shortcutOptions &= static_cast<std::uint8_t>(~4);
  package_.runAfterInstall = in.U16();
  if (package_.runAfterInstall > static_cast<int>(package_.files.size())) Damaged("it runs a file it does not have");
  if (package_.runAfterInstall) package_.runParameters = in.Text("parameters");
  package_.uninstallShortcut = in.Byte() != 0;
  auto last = in.Bytes(3);
  std::copy(last.begin(), last.end(), package_.finalOptions.begin());
  if (last[0] & 2) {
    package_.variables = in.Text("variables");
    package_.finishText = in.Text("finish text");
    package_.backgroundCaption = in.Text("background caption");
  }
  package_.finalOptions[0] &= static_cast<std::uint8_t>(~2);
  if (package_.files.size() < 2) Damaged("it carries no uninstaller");
}

void PackageReader::ExtractFile(std::size_t index, std::ostream& target, const std::function<void()>& progress) {
  const PackageFile& f = package_.files.at(index);
  const std::string name = f.name;
  if (f.position < 0) Damaged(name + " is not stored in it");
  PackageCursor in(volumes_, f.position);
  std::int32_t length = in.I32();
  if (length < 0) Damaged(name + " has a negative length");
  Inflater inflater;
  std::uint32_t crc = 0;
  std::uint64_t written = 0;
  std::int64_t left = length;
  std::vector<std::uint8_t> input, output;
  Inflater::Result result = Inflater::Result::More;
  for (;;) {
    if (input.empty() && left > 0) {
      std::size_t take = static_cast<std::size_t>(std::min<std::int64_t>(left, ChunkSize));
      input = in.Bytes(take);
      left -= static_cast<std::int64_t>(take);
    }
    std::span<const std::uint8_t> view(input);
    output.clear();
    // One byte more than the file may still take shows a stream that
    // inflates past its stated size.
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(ChunkSize, f.size - written + 1));
    result = inflater.Feed(view, output, room);
    std::size_t consumed = input.size() - view.size();
    input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(consumed));
    written += output.size();
    if (written > f.size) Damaged(name + " unpacks to more than its stated size");
    crc = Crc32(output, crc);
    target.write(reinterpret_cast<const char*>(output.data()), static_cast<std::streamsize>(output.size()));
    if (!target) throw PackageError("The file " + name + " cannot be written.");
    if (progress) progress();
    if (result != Inflater::Result::More) break;
    if (output.empty() && consumed == 0 && left == 0) break;  // the stream stops before its end
  }
  if (result == Inflater::Result::Broken || (result == Inflater::Result::End && left != 0))
    Damaged("the data of " + name + " is not a whole zlib stream");
  if (result != Inflater::Result::End || written != f.size) Damaged(name + " is shorter than its stated size");
  if (crc != f.crc) Damaged("the CRC-32 of " + name + " does not match");
}

SetupPackage ReadPackage(const std::string& path, PackageVolumes::MissingVolumePrompt prompt) {
  PackageReader reader(path, std::move(prompt));
  reader.ReadHeader();
  reader.ReadSections();
  return reader.Package();
}

}  // namespace clangor::outfit
