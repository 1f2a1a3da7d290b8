// What the setup wizard decides, without a window: its pages in order, which
// buttons work on each, the texts it shows (all from the package), the
// components and folders the user chooses, and the installation itself.
// The Qt forms only show this and pass the user's clicks on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "installer/package/package_reader.h"
#include "installer/steps/installation.h"

namespace clangor::outfit {

enum class SetupPage { Welcome, Components, Folders, Ready, Installing, Finished };

class SetupSession {
 public:
  // `arguments` are the command-line arguments after the package.
  SetupSession(PackageReader& reader, const std::vector<std::string>& arguments);

  const SetupPackage& Package() const { return package_; }
  SetupPage Page() const { return page_; }
  std::string Caption() const { return package_.settings.caption; }
  std::string Message(int index, const std::vector<std::string>& arguments = {}) const;
  std::string PageHeading() const;
  std::string PageText() const;

  bool CanGoBack() const;
  bool CanProceed() const { return page_ != SetupPage::Installing; }
  bool CanAbort() const { return page_ != SetupPage::Installing && page_ != SetupPage::Finished; }
  void Back();
  // On the ready page this installs (the page is Installing meanwhile);
  // on the finish page it ends the wizard. When the package needs a .NET
  // Framework that is not installed, the finish page says so and starts
  // the framework's installer when the package has one.
  void Proceed(InstallObserver* observer = nullptr);
  bool Done() const { return done_; }

  bool ShowsComponents() const;
  const std::vector<bool>& Components() const { return choices_.components; }
  void SetComponent(std::size_t index, bool chosen);  // a required one stays chosen

  // The package's folders with the paths they will have.
  std::vector<PackageFolder> Folders() const;
  void ChooseFolder(const std::string& variable, const std::string& path);
  bool CanBePortable() const { return package_.portable; }
  bool Portable() const { return choices_.folders.portable; }
  void SetPortable(bool portable);

  const std::optional<InstallReport>& Report() const { return report_; }
  const std::string& Failure() const { return failure_; }

 private:
  void CheckDotNet();

  PackageReader& reader_;
  const SetupPackage& package_;
  InstallChoices choices_;
  SetupPage page_ = SetupPage::Welcome;
  bool done_ = false;
  std::optional<InstallReport> report_;
  std::string failure_;
  std::string dotNetNotice_;
};

}  // namespace clangor::outfit
