#include "installer/package/outfit_manifest.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "installer/package/default_messages.h"
#include "installer/package/dos_date_time.h"
#include "installer/package/package_volumes.h"
#include "installer/package/package_writer.h"

namespace clangor::outfit {

namespace fs = std::filesystem;

namespace {

bool Has(const std::vector<std::string>& fields, std::size_t from, const std::string& word) {
  return std::find(fields.begin() + static_cast<std::ptrdiff_t>(std::min(from, fields.size())), fields.end(), word) !=
         fields.end();
}

std::uint32_t SourceDate(const std::string& path);

class ManifestParser {
 public:
  explicit ManifestParser(std::string base) : base_(std::move(base)) {
    m_.package.messages = DefaultMessages();
  }

  void Line(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    auto& p = m_.package;
    auto& s = p.settings;
    static const std::map<std::string, std::string PackageSettings::*> texts = {
        {"application", &PackageSettings::applicationName}, {"publisher", &PackageSettings::publisher},
        {"version", &PackageSettings::version},             {"uninstall-key", &PackageSettings::uninstallKey},
        {"caption", &PackageSettings::caption},             {"help-link", &PackageSettings::helpLink},
        {"url-update", &PackageSettings::urlInfoUpdate},    {"url-about", &PackageSettings::urlInfoAbout}};
    if (auto it = texts.find(word); it != texts.end()) s.*(it->second) = Need(f, 2)[1];
    else if (word == "date") {
      Need(f, 4);
      s.year = std::stoi(f[1]);
      s.month = std::stoi(f[2]);
      s.day = std::stoi(f[3]);
    } else if (word == "display-icon") {
      s.displayIcon = Need(f, 2)[1];
      if (f.size() > 2) s.iconIndex = std::stoi(f[2]);
    } else if (word == "welcome") p.welcome = Need(f, 2)[1];
    else if (word == "finish") p.finishText = Need(f, 2)[1];
    else if (word == "background") {
      p.backgroundCaption = Need(f, 2)[1];
      p.finalOptions[0] |= 1;
    } else if (word == "volume-size") m_.volumeSize = std::stoi(Need(f, 2)[1]);
    else if (word == "message") {
      auto index = static_cast<std::size_t>(std::stoi(Need(f, 3)[1]));
      if (index >= p.messages.size()) p.messages.resize(index + 1);
      p.messages[index] = f[2];
    } else if (word == "folder") p.folders.push_back({Need(f, 4)[1], f[2], f[3], Has(f, 4, "shared")});
    else if (word == "variable") p.variables += Need(f, 2)[1] + "\r\n";
    else if (word == "portable") {
      p.portable = true;
      p.portableFolder = Need(f, 2)[1];
    } else if (word == "component") {
      Component c;
      c.name = Need(f, 2)[1];
      c.description = f.size() > 2 ? f[2] : "";
      c.required = Has(f, 3, "required");
      c.selected = !Has(f, 3, "unselected");
      p.components.push_back(std::move(c));
    } else if (word == "component-folder") Last().folders.push_back(Need(f, 2)[1]);
    else if (word == "file") AddFile(Source(Need(f, 3)[1]), f[2], f);
    else if (word == "tree") AddTree(Source(Need(f, 3)[1]), f[2], f);
    else if (word == "temporary") {
      PackageFile file;
      file.name = Need(f, 3)[2];
      file.temporary = true;
      temporary_.push_back({file, Source(f[1])});
    } else if (word == "program") {
      AdditionalProgram program;
      program.texts[0] = Need(f, 4)[1];
      program.texts[1] = f[2];
      program.texts[4] = f[3];
      program.wait = Has(f, 4, "wait") ? 1 : 0;
      p.programs.push_back(std::move(program));
    } else if (word == "shortcut") {
      Need(f, 5);
      p.shortcuts.push_back({static_cast<int>(p.components.size()) - 1, f[1], f[2], f[3], f[4], f.size() > 5 ? f[5] : "", 0});
      Last();
    } else if (word == "uninstaller") uninstaller_ = Source(Need(f, 2)[1]);
    else if (word == "run-after") {
      runAfter_ = Need(f, 2)[1];
      p.runParameters = f.size() > 2 ? f[2] : "";
    } else if (word == "no-uninstall-shortcut") p.uninstallShortcut = false;
    else throw std::runtime_error("unknown instruction \"" + word + "\"");
  }

  OutfitManifest Finish() {
    if (uninstaller_.empty()) throw std::runtime_error("the manifest names no uninstaller");
    auto& files = m_.package.files;
    std::vector<std::string> sources;
    for (auto& [file, source] : temporary_) {
      file.dosDateTime = SourceDate(source);
      files.push_back(file);
      sources.push_back(source);
    }
    files.insert(files.end(), targets_.begin(), targets_.end());
    sources.insert(sources.end(), targetSources_.begin(), targetSources_.end());
    for (const char* name : {UninstallerBeforeVista, UninstallerFromVista}) {
      PackageFile f;
      f.name = std::string("%APPFOLDER%\\") + name;
      f.dosDateTime = SourceDate(uninstaller_);
      files.push_back(f);
      sources.push_back(uninstaller_);
    }
    if (!runAfter_.empty()) {
      auto it = std::find_if(files.begin(), files.end(), [&](const PackageFile& f) { return f.name == runAfter_; });
      if (it == files.end()) throw std::runtime_error("run-after names a file the package does not carry");
      m_.package.runAfterInstall = static_cast<int>(it - files.begin()) + 1;
    }
    m_.sources = std::move(sources);
    return std::move(m_);
  }

 private:
  static const std::vector<std::string>& Need(const std::vector<std::string>& f, std::size_t n) {
    if (f.size() < n) throw std::runtime_error("\"" + f[0] + "\" needs " + std::to_string(n - 1) + " fields");
    return f;
  }
  Component& Last() {
    if (m_.package.components.empty()) throw std::runtime_error("no component before this line");
    return m_.package.components.back();
  }
  std::string Source(const std::string& path) const {
    return fs::path(path).is_absolute() ? path : (fs::path(base_) / path).string();
  }
  void AddFile(const std::string& source, const std::string& target, const std::vector<std::string>& f) {
    PackageFile file;
    file.name = target;
    file.component = static_cast<int>(m_.package.components.size()) - 1;
    Last();
    for (std::size_t i = 3; i < f.size(); ++i) {
      if (f[i].rfind("mode=", 0) == 0) file.overwriteMode = std::stoi(f[i].substr(5));
      else if (f[i] == "shared") file.shared = true;
      else if (f[i] == "keep") file.keep = true;
    }
    file.dosDateTime = SourceDate(source);
    targets_.push_back(file);
    targetSources_.push_back(source);
  }
  void AddTree(const std::string& folder, const std::string& target, const std::vector<std::string>& f) {
    std::vector<std::string> skipped;
    for (std::size_t i = 3; i < f.size(); ++i)
      if (f[i].rfind("skip=", 0) == 0) skipped.push_back(f[i].substr(5));
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      std::string top = fs::relative(entry.path(), folder).begin()->string();
      if (entry.is_regular_file() && std::find(skipped.begin(), skipped.end(), top) == skipped.end())
        found.push_back(entry.path());
    }
    if (found.empty()) throw std::runtime_error("the folder " + folder + " holds no files");
    std::sort(found.begin(), found.end());
    for (const auto& path : found) {
      std::string relative = fs::relative(path, folder).string();
      std::replace(relative.begin(), relative.end(), '/', '\\');
      AddFile(path.string(), target + "\\" + relative, f);
    }
  }

  std::string base_;
  OutfitManifest m_;
  std::vector<std::pair<PackageFile, std::string>> temporary_;
  std::vector<PackageFile> targets_;
  std::vector<std::string> targetSources_;
  std::string uninstaller_, runAfter_;
};

std::uint32_t SourceDate(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) throw std::runtime_error("the file " + path + " cannot be found");
  return TimeToDosDateTime(info.st_mtime);
}

}  // namespace

OutfitManifest ParseManifest(const std::string& text, const std::string& baseFolder) {
  ManifestParser parser(baseFolder);
  int number = 0;
  for (const auto& line : SplitLines(text)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    try {
      parser.Line(SplitFields(line, '\t'));
    } catch (const std::exception& e) {
      throw std::runtime_error("line " + std::to_string(number) + ": " + e.what());
    }
  }
  return parser.Finish();
}

std::vector<std::string> BuildPackage(const OutfitManifest& manifest, const std::string& packagePath) {
  std::vector<std::vector<std::uint8_t>> contents;
  for (const auto& source : manifest.sources) {
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("the file " + source + " cannot be read");
    contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return WritePackage(packagePath, manifest.package, contents, manifest.volumeSize);
}

}  // namespace clangor::outfit
