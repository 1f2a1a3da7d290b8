// The setup wizard's window: a heading, one page of the session at a time,
// and the Back, Proceed and Abort buttons with the package's captions.
#pragma once

#include <QWidget>
#include <functional>

#include "installer/steps/setup_session.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTextBrowser;
class QTreeWidget;

namespace clangor::outfit {

class TFormSetup : public QWidget, private InstallObserver {
 public:
  // `chooseFolder` picks a folder for a variable (TFormDirSel by default;
  // tests answer it themselves); `confirmAbort` asks whether to abort.
  using FolderChooser = std::function<std::optional<QString>(const PackageFolder& folder)>;
  using AbortConfirmation = std::function<bool()>;
  explicit TFormSetup(SetupSession& session, FolderChooser chooseFolder = {}, AbortConfirmation confirmAbort = {});

  QPushButton* BackButton() const { return back_; }
  QPushButton* ProceedButton() const { return proceed_; }
  QPushButton* AbortButton() const { return abort_; }
  void BrowseFolder(int row);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Show();
  void ShowComponents();
  void ShowFolders();
  void Progress(const std::string& text, std::size_t done, std::size_t total) override;
  void Pump() override;
  QString Text(int message) const;

  SetupSession& session_;
  FolderChooser chooseFolder_;
  AbortConfirmation confirmAbort_;
  QLabel* heading_;
  QStackedWidget* pages_;
  QLabel* welcome_;
  QListWidget* components_;
  QCheckBox* details_;
  QLabel* description_;
  QTreeWidget* folders_;
  QCheckBox* portable_;
  QTextBrowser* summary_;
  QLabel* progressText_;
  QProgressBar* progress_;
  QLabel* finish_;
  QPushButton* back_;
  QPushButton* proceed_;
  QPushButton* abort_;
  bool aborting_ = false;
};

}  // namespace clangor::outfit
