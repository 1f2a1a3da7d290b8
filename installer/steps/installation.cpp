#include "installer/steps/installation.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

#include "installer/package/default_messages.h"
#include "installer/package/package_error.h"
#include "installer/steps/additional_programs.h"
#include "installer/steps/file_extraction.h"
#include "installer/steps/file_stamps.h"
#include "installer/steps/machine_registry.h"
#include "platform/shell_link.h"
#include "platform/shellfolders.h"

namespace clangor::outfit {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

std::uint32_t VersionPart(const std::string& version, bool major) {
  std::size_t dot = version.find('.');
  std::string part = major ? version.substr(0, dot) : (dot == std::string::npos ? "" : version.substr(dot + 1));
  std::uint32_t value = 0;
  for (char c : part) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

void CheckKeyName(const std::string& key) {
  if (key.empty() || key.find('\\') != std::string::npos)
    throw PackageError("The setup package names its uninstall entry \"" + key + "\", which is not a key name.");
}

}  // namespace

bool Overwrites(const PackageFile& file, std::time_t existingModified) {
  if (file.overwriteMode == OverwriteAlways) return true;
  if (file.overwriteMode != OverwriteOlder) return false;
  // Files here carry no version information, so the dates decide.
  return existingModified < DosDateTimeToTime(file.dosDateTime);
}

bool HasNoDesktopOption(const std::vector<std::string>& arguments) {
  for (std::size_t i = 0; i < arguments.size() && i < 2; ++i)
    if (Lower(arguments[i]) == "/nodesktop") return true;
  return false;
}

Installation::Installation(PackageReader& reader, InstallChoices choices, InstallObserver* observer)
    : reader_(reader),
      package_(reader.Package()),
      choices_(std::move(choices)),
      observer_(observer ? observer : &quiet_),
      paths_(package_, choices_.folders) {}

std::size_t Installation::UninstallerIndex() const {
  std::size_t n = package_.files.size();
  return choices_.systemMajorVersion >= 6 ? n - 1 : n - 2;
}

bool Installation::ComponentChosen(int component) const {
  if (component < 0 || component >= static_cast<int>(package_.components.size())) return package_.components.empty();
  const Component& c = package_.components[static_cast<std::size_t>(component)];
  if (c.required) return true;
  auto index = static_cast<std::size_t>(component);
  return index < choices_.components.size() ? choices_.components[index] : c.selected;
}

std::vector<std::string> Installation::ShortcutFolders(int component) const {
  std::vector<std::string> folders;
  for (const auto& folder : package_.components.at(static_cast<std::size_t>(component)).folders)
    if (!(choices_.noDesktop && Lower(folder) == "%desktop%")) folders.push_back(folder);
  return folders;
}

void Installation::Check() {
  CheckKeyName(package_.settings.uninstallKey);
  plan_.clear();
  std::size_t uninstaller = UninstallerIndex();
  plan_.push_back({uninstaller, paths_.Resolve(package_.files[uninstaller].name)});
  for (std::size_t i = 0; i + 2 < package_.files.size(); ++i) {
    const PackageFile& f = package_.files[i];
    if (f.temporary) {
      if (f.name.find_first_of("\\/") != std::string::npos || f.name == "..")
        throw PackageError("The setup package asks to unpack " + f.name + " to the temporary folder, which is not a file name.");
      continue;
    }
    if (ComponentChosen(f.component)) plan_.push_back({i, paths_.Resolve(f.name)});
  }
  for (const auto& s : package_.shortcuts) {
    if (!ComponentChosen(s.component)) continue;
    paths_.Resolve(s.target);
    if (!s.icon.empty()) paths_.Resolve(s.icon);
    for (const auto& folder : ShortcutFolders(s.component)) paths_.Resolve(folder + "\\" + s.name);
  }
  if (!package_.settings.displayIcon.empty()) paths_.Resolve(package_.settings.displayIcon);
  paths_.ResolvedFolders();
  paths_.Folder("APPFOLDER");
}

void Installation::SaveLog(const InstallLog& log, const std::string& path) const {
  std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << log.Text();
    if (!out) throw PackageError("The installation log " + path + " cannot be written.");
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) throw PackageError("The installation log " + path + " cannot be written: " + ec.message() + ".");
}

void Installation::CountShared(const PackageFile& file, const std::string& target, bool existedBefore,
                               const InstallLog* previous) {
  if (choices_.folders.portable) return;
  bool countedBefore =
      previous && std::find(previous->entries.begin(), previous->entries.end(), target) != previous->entries.end();
  std::optional<std::uint32_t> count = SharedCount(target);
  std::uint32_t floor = existedBefore ? 2 : 1;
  if (count) {
    // Installing the same product again over its own log counts it once.
    if (!countedBefore) SetSharedCount(target, std::max(*count + 1, floor));
  } else if (file.shared) {
    SetSharedCount(target, countedBefore ? 1 : floor);
  }
}

void Installation::InstallFile(const Planned& planned, const InstallLog* previous, InstallLog& log,
                               InstallReport& report) {
  const PackageFile& file = package_.files[planned.index];
  const std::string& target = planned.target;
  auto existing = LookAtFile(target);
  bool identical = existing && existing->size == file.size && FileCrc32(target) == file.crc;
  bool kept = existing && !identical && !Overwrites(file, existing->modified);
  if (kept) {
    report.kept.push_back(target);
  } else if (!identical) {
    if (file.copiedFromTemporary)
      throw PackageError("The setup package stores " + file.name + " nowhere: it is not in the temporary folder.");
    try {
      if (ExtractFileTo(reader_, planned.index, target, [this] { observer_->Pump(); }) == Placed::Pending)
        report.pending.push_back(target);
    } catch (const PackageError& e) {
      throw PackageError(FormatMessage(package_.Message(message::ExtractError), {FileName(target)}) + "\r\n" + e.what());
    }
  }
  report.installedBytes += file.size;
  bool counted = SharedCount(target).has_value() || file.shared;
  CountShared(file, target, existing.has_value(), previous);
  if (file.keep || (kept && !counted)) return;  // not ours to remove
  log.entries.push_back(target);
  if (Lower(fs::path(target).extension().string()) == ".hlp")
    log.entries.push_back(fs::path(target).replace_extension(".gid").string());
}

void Installation::CreateShortcuts(InstallLog& log, const std::string& uninstaller, const std::string& logPath) {
  struct Made {
    std::string path;
    ShellLink link;
  };
  std::vector<Made> links;
  if (package_.uninstallShortcut) {
    bool hasMenu = std::any_of(package_.folders.begin(), package_.folders.end(),
                               [](const PackageFolder& f) { return Lower(f.variable) == "appmenu"; });
    if (hasMenu || choices_.folders.portable) {
      ShellLink link;
      link.name = FormatMessage(package_.Message(message::UninstallName), {package_.settings.applicationName});
      link.description = FormatMessage(package_.Message(message::UninstallDescription), {package_.settings.uninstallKey});
      link.target = uninstaller;
      link.arguments = {logPath};
      links.push_back({paths_.Resolve("%APPMENU%\\Unoutfit.lnk"), link});
    }
  }
  for (const auto& s : package_.shortcuts) {
    if (!ComponentChosen(s.component)) continue;
    for (const auto& folder : ShortcutFolders(s.component)) {
      ShellLink link;
      link.target = paths_.Resolve(s.target);
      link.arguments = SplitParameters(s.arguments);
      link.description = s.description;
      if (!s.icon.empty()) link.iconFile = paths_.Resolve(s.icon);
      links.push_back({paths_.Resolve(folder + "\\" + s.name), link});
    }
  }
  for (std::size_t i = 0; i < links.size(); ++i) {
    Made& made = links[i];
    observer_->Progress(FormatMessage(package_.Message(message::CreatingShortcut), {FileName(made.path)}), i, links.size());
    std::string folder = fs::path(made.link.target).parent_path().string();
    made.link.workingFolder = folder.empty() ? "/" : folder;
    std::error_code ec;
    fs::create_directories(fs::path(made.path).parent_path(), ec);
    std::string written = WriteShellLink(made.path, made.link);
    if (written.empty()) throw PackageError("The shortcut " + made.path + " cannot be written.");
    log.entries.push_back(written);
  }
}

void Installation::WriteUninstallEntry(InstallLog& log, const InstallReport& report) {
  const PackageSettings& s = package_.settings;
  std::string key = std::string(UninstallKey) + "\\" + s.uninstallKey;
  auto set = [&](const std::string& name, const std::string& value) {
    if (!SetMachineString(key, name, value)) throw PackageError("The uninstall entry cannot be written.");
    log.entries.push_back(RegistryEntryText(key, name));
  };
  auto setNumber = [&](const std::string& name, std::uint32_t value) {
    if (!SetMachineDword(key, name, value)) throw PackageError("The uninstall entry cannot be written.");
    log.entries.push_back(RegistryEntryText(key, name));
  };
  set("DisplayName", s.applicationName);
  if (!s.displayIcon.empty())
    set("DisplayIcon", paths_.Resolve(s.displayIcon) + (s.iconIndex >= 0 ? "," + std::to_string(s.iconIndex) : ""));
  set("UninstallString", report.uninstaller + " \"" + report.logPath + "\"");
  setNumber("NoModify", 1);
  setNumber("NoRepair", 1);
  setNumber("EstimatedSize", static_cast<std::uint32_t>(report.installedBytes / 1024));
  std::uint32_t date = choices_.today ? choices_.today : static_cast<std::uint32_t>(s.year * 10000 + s.month * 100 + s.day);
  set("InstallDate", std::to_string(date));
  set("InstallLocation", paths_.Folder("APPFOLDER"));
  if (!s.version.empty()) {
    set("DisplayVersion", s.version);
    setNumber("VersionMajor", VersionPart(s.version, true));
    setNumber("VersionMinor", VersionPart(s.version, false));
  }
  const std::pair<const char*, const std::string*> optional[] = {
      {"Publisher", &s.publisher}, {"HelpLink", &s.helpLink}, {"URLInfoUpdate", &s.urlInfoUpdate}, {"URLInfoAbout", &s.urlInfoAbout}};
  for (const auto& [name, value] : optional)
    if (!value->empty()) set(name, *value);
  if (!SetMachineString(OutfitKey, s.uninstallKey, report.logPath)) throw PackageError("The installer's entry cannot be written.");
  log.entries.push_back(RegistryEntryText(OutfitKey, s.uninstallKey));
}

std::string Installation::PrepareLog(const std::vector<std::string>& /*previousEntries*/) {
  std::string appFolder = paths_.Folder("APPFOLDER");
  std::error_code ec;
  fs::create_directories(appFolder, ec);
  if (ec) throw PackageError(FormatMessage(package_.Message(message::FolderCannotBeMade), {appFolder}));
  std::string logPath = ChooseLogPath(appFolder, package_.settings.uninstallKey);
  if (!choices_.folders.portable) {
    // The log of an earlier installation into another folder goes.
    auto earlier = MachineString(OutfitKey, package_.settings.uninstallKey);
    if (earlier && *earlier != logPath) {
      auto old = ReadInstallLog(*earlier);
      if (old && old->uninstallKey == package_.settings.uninstallKey) fs::remove(*earlier, ec);
    }
  }
  return logPath;
}

InstallReport Installation::Run() {
  Check();
  RunAdditionalPrograms(reader_, ProgramTime::Before);
  InstallReport report;
  report.logPath = PrepareLog({});
  std::optional<InstallLog> previous = ReadInstallLog(report.logPath);
  const PackageSettings& s = package_.settings;
  InstallLog log;
  log.applicationName = s.applicationName;
  log.year = s.year;
  log.month = s.month;
  log.day = s.day;
  log.publisher = s.publisher;
  log.uninstallKey = s.uninstallKey;
  log.version = s.version;
  for (int i = 59; i <= 64; ++i) log.messages.push_back(package_.Message(static_cast<std::size_t>(i)));
  if (package_.runAfterInstall > 0) {
    std::string program = paths_.Resolve(package_.files[static_cast<std::size_t>(package_.runAfterInstall - 1)].name);
    if (program.find(' ') != std::string::npos) program = "\"" + program + "\"";
    log.runAfterInstall = package_.runParameters.empty() ? program : package_.runParameters + " " + program;
  }
  log.folders = paths_.ResolvedFolders();
  for (std::size_t i = 0; i < package_.components.size(); ++i)
    log.components.emplace_back(package_.components[i].name, ComponentChosen(static_cast<int>(i)));
  report.uninstaller = plan_.front().target;

  auto finish = [&] {
    // What the earlier installation of this product listed stays listed,
    // so that the uninstaller still removes it.
    if (previous)
      for (const auto& entry : previous->entries)
        if (std::find(log.entries.begin(), log.entries.end(), entry) == log.entries.end()) log.entries.insert(log.entries.begin(), entry);
    SaveLog(log, report.logPath);
  };
  try {
    for (std::size_t i = 0; i < plan_.size(); ++i) {
      observer_->Progress(FormatMessage(package_.Message(message::InstallingFile), {FileName(plan_[i].target)}), i, plan_.size());
      InstallFile(plan_[i], previous ? &*previous : nullptr, log, report);
      observer_->Pump();
    }
    if (choices_.folders.portable) {
      std::string marker = PathAppend(paths_.Folder("APPFOLDER"), RemovableDriveFile);
      std::ofstream(marker, std::ios::binary) << RemovableDriveText;
      log.entries.push_back(marker);
    }
    CreateShortcuts(log, report.uninstaller, report.logPath);
    if (!choices_.folders.portable) WriteUninstallEntry(log, report);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  RunAdditionalPrograms(reader_, ProgramTime::After);
  return report;
}

}  // namespace clangor::outfit
