#include "installer/steps/setup_session.h"

#include <filesystem>

#include "installer/package/default_messages.h"
#include "installer/package/package_error.h"
#include "installer/steps/additional_programs.h"
#include "installer/steps/dot_net_check.h"
#include "installer/steps/file_extraction.h"

namespace clangor::outfit {

SetupSession::SetupSession(PackageReader& reader, const std::vector<std::string>& arguments)
    : reader_(reader), package_(reader.Package()) {
  choices_.noDesktop = HasNoDesktopOption(arguments);
  choices_.folders.setupFolder = std::filesystem::path(reader.Volumes().PackagePath()).parent_path().string();
  for (const auto& c : package_.components) choices_.components.push_back(c.required || c.selected);
}

std::string SetupSession::Message(int index, const std::vector<std::string>& arguments) const {
  return FormatMessage(package_.Message(static_cast<std::size_t>(index)), arguments);
}

std::string SetupSession::PageHeading() const {
  const std::string& name = package_.settings.applicationName;
  switch (page_) {
    case SetupPage::Welcome: return Message(message::WelcomeTitle, {name});
    case SetupPage::Components: return Message(message::ComponentsTitle);
    case SetupPage::Folders: return Message(message::FolderTitle);
    case SetupPage::Ready: return Message(message::ReadyTitle, {name});
    case SetupPage::Installing: return Message(message::InstallingTitle, {name});
    case SetupPage::Finished: return failure_.empty() ? Message(message::FinishedTitle) : Message(message::InstallationFailed);
  }
  return {};
}

std::string SetupSession::PageText() const {
  switch (page_) {
    case SetupPage::Welcome: return package_.welcome;
    case SetupPage::Ready: {
      std::string text;
      for (std::size_t i = 0; i < package_.components.size(); ++i)
        if (choices_.components[i]) text += package_.components[i].name + "\n";
      try {
        for (const auto& f : Folders()) text += f.caption + ": " + f.path + "\n";
      } catch (const PackageError& e) {
        text += e.what();
      }
      for (const auto& type : package_.fileTypes) text += type.Listing() + "\n";
      return text;
    }
    case SetupPage::Finished:
      if (!failure_.empty()) return failure_;
      return (package_.finishText.empty() ? Message(message::FinishedText, {package_.settings.applicationName})
                                          : package_.finishText) +
             dotNetNotice_;
    default: return {};
  }
}

bool SetupSession::ShowsComponents() const {
  for (const auto& c : package_.components)
    if (!c.required) return true;
  return false;
}

bool SetupSession::CanGoBack() const {
  return page_ == SetupPage::Components || page_ == SetupPage::Folders || page_ == SetupPage::Ready;
}

void SetupSession::Back() {
  if (!CanGoBack()) return;
  page_ = static_cast<SetupPage>(static_cast<int>(page_) - 1);
  if (page_ == SetupPage::Components && !ShowsComponents()) page_ = SetupPage::Welcome;
}

void SetupSession::Proceed(InstallObserver* observer) {
  switch (page_) {
    case SetupPage::Welcome:
      page_ = ShowsComponents() ? SetupPage::Components : SetupPage::Folders;
      return;
    case SetupPage::Components: page_ = SetupPage::Folders; return;
    case SetupPage::Folders: page_ = SetupPage::Ready; return;
    case SetupPage::Ready:
      page_ = SetupPage::Installing;
      try {
        report_ = Installation(reader_, choices_, observer).Run();
        CheckDotNet();
      } catch (const PackageError& e) {
        failure_ = e.what();
      }
      page_ = SetupPage::Finished;
      return;
    case SetupPage::Installing: return;
    case SetupPage::Finished: done_ = true; return;
  }
}

void SetupSession::CheckDotNet() {
  if (!package_.dotNet.flags) return;
  auto missing = MissingDotNetVersion(package_.dotNet.flags);
  if (!missing) return;
  const std::string& file = package_.dotNet.installerFile;
  std::string installer;
  if (!file.empty() && file.find_first_of("\\/") == std::string::npos) {
    std::string beside = std::filesystem::path(reader_.Volumes().PackagePath()).parent_path() / file;
    if (std::filesystem::exists(beside)) installer = beside;
    for (std::size_t i = 0; installer.empty() && i < package_.files.size(); ++i)
      if (package_.files[i].temporary && package_.files[i].name == file)
        installer = ExtractToTemporaryFolder(reader_, i, choices_.folders.setupFolder);
  }
  if (!installer.empty()) StartProgram(installer, "", "", false);
  dotNetNotice_ = "\n\n" + DotNetNotice(package_, *missing, !installer.empty());
}

void SetupSession::SetComponent(std::size_t index, bool chosen) {
  if (index < choices_.components.size()) choices_.components[index] = chosen || package_.components[index].required;
}

std::vector<PackageFolder> SetupSession::Folders() const {
  PathVariables paths(package_, choices_.folders);
  if (!choices_.folders.portable) return paths.ResolvedFolders();
  return {{"APPFOLDER", package_.Message(12), paths.Folder("APPFOLDER"), false}};
}

void SetupSession::ChooseFolder(const std::string& variable, const std::string& path) {
  if (choices_.folders.portable) choices_.folders.portableFolder = path;
  else choices_.folders.folders[variable] = path;
}

void SetupSession::SetPortable(bool portable) { choices_.folders.portable = portable && package_.portable; }

}  // namespace clangor::outfit
