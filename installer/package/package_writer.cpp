#include "installer/package/package_writer.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "installer/package/package_volumes.h"
#include "installer/package/zlib_streams.h"

namespace clangor::outfit {

namespace {

// Where the package data starts in the first volume: after a short
// signature and the offset field at 144.
constexpr std::uint32_t DataStart = 160;
constexpr char Signature[] = "Outfitter setup package\r\n\x1a";

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::string SettingsText(const SetupPackage& p) {
  const PackageSettings& s = p.settings;
  std::vector<std::string> fields = {s.applicationName, s.publisher,     s.version,        s.uninstallKey,
                                     s.caption,         std::to_string(s.year), std::to_string(s.month),
                                     std::to_string(s.day), s.helpLink,  s.urlInfoUpdate,  s.urlInfoAbout,
                                     s.displayIcon,     std::to_string(s.iconIndex)};
  std::string text;
  for (const auto& f : fields) text += f + '\f';
  return text + '1';  // the welcome text, folders and temporary files follow
}

std::string ComponentText(const Component& c) {
  std::string text;
  text += static_cast<char>((c.selected ? 2 : 0) | (c.required ? 1 : 0));
  text += static_cast<char>(c.name.size());
  text += c.name;
  text += static_cast<char>(c.data.size());
  text.append(c.data.begin(), c.data.end());
  return text + c.description;
}

std::string FileTypesText(const std::vector<FileType>& types) {
  std::string text;
  for (const auto& t : types) {
    text += t.flag;
    text += t.extension + '\f' + t.description + '\f';
    text += static_cast<char>(t.value & 0xFF);
    text += static_cast<char>(t.value >> 8);
    text += static_cast<char>(t.byte);
    text += static_cast<char>(t.actions.size());
    for (const auto& a : t.actions) {
      text += a.verb + '\f';
      text += static_cast<char>(a.value & 0xFF);
      text += static_cast<char>(a.value >> 8);
      text += a.command + '\f';
    }
  }
  return text;
}

void WriteHeader(ByteWriter& w, const SetupPackage& p) {
  w.Text(JoinLines(p.messages));
  w.Text(SettingsText(p));
  w.Text(p.welcome);
  std::vector<std::string> folders, temporary;
  for (const auto& f : p.folders) folders.push_back(f.variable + '\t' + f.caption + '\t' + (f.shared ? "*" : "") + f.path);
  for (const auto& f : p.files)
    if (f.temporary) temporary.push_back(f.name);
  w.Text(JoinLines(folders));
  w.Text(JoinLines(temporary));
  w.Byte(p.portable ? 1 : 0);
  if (p.portable) {
    w.Raw(p.portableBytes.data(), 2);
    w.Text(p.portableFolder);
  }
  w.Raw(p.raw68.data(), 68);
  w.Byte(p.byteA);
  w.Byte(p.byteB);
  w.Raw(p.raw39.data(), 39);
  w.Byte(p.block97 ? 1 : 0);
  if (p.block97) w.Stream(Deflate(std::span<const std::uint8_t>(p.block97->data(), 97)));
}

void WriteFileTables(ByteWriter& w, const SetupPackage& p) {
  std::vector<std::string> targets, attributes;
  for (const auto& f : p.files) {
    if (!f.temporary) targets.push_back(f.name);
    attributes.push_back(std::to_string(f.component) + '\t' + std::to_string(f.overwriteMode) + '\t' +
                         (f.shared ? "s" : "") + (f.keep ? "k" : ""));
  }
  w.Text(JoinLines(targets));
  for (const auto& f : p.files) w.I32(f.position);
  for (const auto& f : p.files) w.U32(f.dosDateTime);
  for (const auto& f : p.files) {
    w.U32(f.versionLow);
    w.U32(f.versionHigh);
  }
  for (const auto& f : p.files) w.U32(f.size);
  for (const auto& f : p.files) w.U32(f.crc);
  for (const auto& c : p.components) {
    for (const auto& folder : c.folders) {
      if (folder.size() >= 254) throw std::invalid_argument("a component folder name is longer than 253 characters");
      w.Byte(static_cast<std::uint8_t>(folder.size()));
      w.Raw(folder.data(), folder.size());
    }
    w.Byte(255);
  }
  w.Text(JoinLines(attributes));
}

void WriteSections(ByteWriter& w, const SetupPackage& p) {
  if (p.components.size() > 255) throw std::invalid_argument("a package holds at most 255 components");
  w.Byte(static_cast<std::uint8_t>(p.components.size()));
  for (const auto& c : p.components) {
    if (c.name.size() > 255 || c.data.size() > 255) throw std::invalid_argument("a component name is too long");
    w.Text(ComponentText(c));
  }
  WriteFileTables(w, p);
  w.Text(FileTypesText(p.fileTypes));
  w.Byte(p.dotNet.flags);
  if (p.dotNet.flags) {
    w.Text(p.dotNet.installerFile);
    w.Text(p.dotNet.downloadAddress);
    w.U32(p.dotNet.installerSize);
    w.I32(p.dotNet.installerPosition);
  }
  w.U32(static_cast<std::uint32_t>(p.programs.size()));
  for (const auto& program : p.programs) {
    for (const auto& t : program.texts) w.Text(t);
    w.U32(program.wait);
    w.U32(program.show);
  }
  std::uint8_t options = p.shortcutOptions | (p.shortcuts.empty() ? 0 : 4);
  w.Byte(options);
  if (options & 4) {
    std::vector<std::string> lines;
    for (const auto& s : p.shortcuts)
      lines.push_back(std::to_string(s.component) + '\t' + s.name + '\t' + s.target + '\t' + s.arguments + '\t' +
                      s.description + '\t' + s.icon + '\t' + std::to_string(s.iconIndex));
    w.U16(static_cast<std::uint16_t>(p.shortcuts.size()));
    w.Text(JoinLines(lines));
  }
  w.U16(static_cast<std::uint16_t>(p.runAfterInstall));
  if (p.runAfterInstall) w.Text(p.runParameters);
  w.Byte(p.uninstallShortcut ? 1 : 0);
  std::array<std::uint8_t, 3> last = p.finalOptions;
  bool texts = !p.variables.empty() || !p.finishText.empty() || !p.backgroundCaption.empty();
  if (texts) last[0] |= 2;
  w.Raw(last.data(), 3);
  if (last[0] & 2) {
    w.Text(p.variables);
    w.Text(p.finishText);
    w.Text(p.backgroundCaption);
  }
}

// Writes the run of bytes as volumes of `volumeSize` bytes (one file when 0).
std::vector<std::string> WriteVolumes(const std::string& path, const std::vector<std::uint8_t>& all,
                                      std::int32_t volumeSize) {
  std::vector<std::string> written;
  std::size_t step = volumeSize > 0 ? static_cast<std::size_t>(volumeSize) : all.size();
  for (std::size_t start = 0, k = 1; start < all.size() || k == 1; start += step, ++k) {
    std::string name = VolumePath(path, static_cast<int>(k));
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    std::size_t n = std::min(step, all.size() - start);
    out.write(reinterpret_cast<const char*>(all.data() + start), static_cast<std::streamsize>(n));
    if (!out) throw std::runtime_error("cannot write " + name);
    written.push_back(name);
    if (step == 0) break;
  }
  return written;
}

}  // namespace

void ByteWriter::U16(std::uint16_t v) {
  Byte(static_cast<std::uint8_t>(v));
  Byte(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::Raw(const void* data, std::size_t size) {
  auto p = static_cast<const std::uint8_t*>(data);
  bytes.insert(bytes.end(), p, p + size);
}

void ByteWriter::Text(const std::string& text) {
  if (text.empty()) return I32(0);
  Stream(Deflate(text));
}

void ByteWriter::Stream(const std::vector<std::uint8_t>& compressed) {
  I32(static_cast<std::int32_t>(compressed.size()));
  Raw(compressed.data(), compressed.size());
}

std::vector<std::uint8_t> EncodeHeaderAndSections(const SetupPackage& package, std::int32_t volumeSize) {
  ByteWriter w;
  w.I32(volumeSize);
  WriteHeader(w, package);
  WriteSections(w, package);
  return w.bytes;
}

std::vector<std::string> WritePackage(const std::string& path, SetupPackage package,
                                      const std::vector<std::vector<std::uint8_t>>& contents,
                                      std::int32_t volumeSize) {
  if (contents.size() != package.files.size()) throw std::invalid_argument("one content per file");
  if (volumeSize > 0 && volumeSize < static_cast<std::int32_t>(DataStart + 4))
    throw std::invalid_argument("the volume size is smaller than the package's start");
  std::vector<std::vector<std::uint8_t>> streams(contents.size());
  for (std::size_t i = 0; i < contents.size(); ++i) {
    PackageFile& f = package.files[i];
    f.size = static_cast<std::uint32_t>(contents[i].size());
    f.crc = Crc32(contents[i]);
    if (!f.copiedFromTemporary) streams[i] = Deflate(contents[i]);
  }
  // The header's length does not depend on the positions (fixed-width), so
  // one trial layout tells where the file data begins.
  std::int64_t position = DataStart + static_cast<std::int64_t>(EncodeHeaderAndSections(package, volumeSize).size());
  for (std::size_t i = 0; i < contents.size(); ++i) {
    PackageFile& f = package.files[i];
    if (f.copiedFromTemporary) {
      f.position = -1;
      continue;
    }
    f.position = static_cast<std::int32_t>(position);
    position += 4 + static_cast<std::int64_t>(streams[i].size());
  }
  ByteWriter all;
  all.Raw(Signature, sizeof Signature - 1);
  all.bytes.resize(PackageOffsetField, 0);
  all.U32(DataStart);
  all.bytes.resize(DataStart, 0);
  auto header = EncodeHeaderAndSections(package, volumeSize);
  all.Raw(header.data(), header.size());
  for (std::size_t i = 0; i < contents.size(); ++i)
    if (!package.files[i].copiedFromTemporary) all.Stream(streams[i]);
  return WriteVolumes(path, all.bytes, volumeSize);
}

}  // namespace clangor::outfit
