#include "installer/setup/form_setup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "installer/package/default_messages.h"
#include "installer/setup/form_dir_sel.h"

namespace clangor::outfit {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

enum PageIndex { WelcomePage, ComponentsPage, FoldersPage, ReadyPage, InstallingPage, FinishedPage };

}  // namespace

TFormSetup::TFormSetup(SetupSession& session, FolderChooser chooseFolder, AbortConfirmation confirmAbort)
    : session_(session),
      chooseFolder_(std::move(chooseFolder)),
      confirmAbort_(std::move(confirmAbort)),
      heading_(new QLabel),
      pages_(new QStackedWidget),
      welcome_(new QLabel),
      components_(new QListWidget),
      details_(new QCheckBox),
      description_(new QLabel),
      folders_(new QTreeWidget),
      portable_(new QCheckBox),
      summary_(new QTextBrowser),
      progressText_(new QLabel),
      progress_(new QProgressBar),
      finish_(new QLabel),
      back_(new QPushButton),
      proceed_(new QPushButton),
      abort_(new QPushButton) {
  setObjectName("TFormSetup");
  setWindowTitle(Q(session.Caption()));
  QFont big = heading_->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  heading_->setFont(big);
  welcome_->setWordWrap(true);
  finish_->setWordWrap(true);
  description_->setWordWrap(true);

  auto* componentsPage = new QWidget;
  auto* componentsLayout = new QVBoxLayout(componentsPage);
  componentsLayout->addWidget(components_);
  details_->setText(Text(message::ComponentDetails));
  componentsLayout->addWidget(details_);
  componentsLayout->addWidget(description_);
  for (const auto& c : session.Package().components) {
    auto* item = new QListWidgetItem(Q(c.name), components_);
    item->setToolTip(Q(c.description));
  }
  connect(components_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    session_.SetComponent(static_cast<std::size_t>(components_->row(item)), item->checkState() == Qt::Checked);
    ShowComponents();
  });
  connect(components_, &QListWidget::currentRowChanged, this, [this](int) { ShowComponents(); });
  connect(details_, &QCheckBox::toggled, this, [this](bool) { ShowComponents(); });

  auto* foldersPage = new QWidget;
  auto* foldersLayout = new QVBoxLayout(foldersPage);
  folders_->setColumnCount(2);
  folders_->setHeaderHidden(true);
  folders_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  foldersLayout->addWidget(folders_);
  auto* browse = new QPushButton(Text(message::Browse));
  foldersLayout->addWidget(browse, 0, Qt::AlignRight);
  portable_->setText(Text(13));
  portable_->setVisible(session.CanBePortable());
  foldersLayout->addWidget(portable_);
  connect(browse, &QPushButton::clicked, this, [this] { BrowseFolder(folders_->indexOfTopLevelItem(folders_->currentItem())); });
  connect(folders_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    BrowseFolder(folders_->indexOfTopLevelItem(item));
  });
  connect(portable_, &QCheckBox::toggled, this, [this](bool on) {
    session_.SetPortable(on);
    ShowFolders();
  });

  auto* installingPage = new QWidget;
  auto* installingLayout = new QVBoxLayout(installingPage);
  installingLayout->addWidget(progressText_);
  installingLayout->addWidget(progress_);
  installingLayout->addStretch();

  pages_->addWidget(welcome_);
  pages_->addWidget(componentsPage);
  pages_->addWidget(foldersPage);
  pages_->addWidget(summary_);
  pages_->addWidget(installingPage);
  pages_->addWidget(finish_);

  back_->setText(Text(message::Back));
  proceed_->setText(Text(message::Proceed));
  abort_->setText(Text(message::Abort));
  back_->setObjectName("Back");
  proceed_->setObjectName("Proceed");
  abort_->setObjectName("Abort");
  proceed_->setDefault(true);
  connect(back_, &QPushButton::clicked, this, [this] {
    session_.Back();
    Show();
  });
  connect(proceed_, &QPushButton::clicked, this, [this] {
    proceed_->setEnabled(false);
    back_->setEnabled(false);
    abort_->setEnabled(false);
    if (session_.Page() == SetupPage::Ready) {
      pages_->setCurrentIndex(InstallingPage);
      heading_->setText(Text(message::InstallingTitle));
    }
    session_.Proceed(this);
    if (session_.Done()) close();
    else Show();
  });
  connect(abort_, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(back_);
  buttons->addWidget(proceed_);
  buttons->addSpacing(12);
  buttons->addWidget(abort_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(pages_, 1);
  layout->addLayout(buttons);
  resize(560, 400);
  Show();
}

QString TFormSetup::Text(int message) const { return Q(session_.Message(message)); }

void TFormSetup::Show() {
  heading_->setText(Q(session_.PageHeading()));
  switch (session_.Page()) {
    case SetupPage::Welcome:
      welcome_->setText(Q(session_.PageText()));
      pages_->setCurrentIndex(WelcomePage);
      break;
    case SetupPage::Components:
      ShowComponents();
      pages_->setCurrentIndex(ComponentsPage);
      break;
    case SetupPage::Folders:
      ShowFolders();
      pages_->setCurrentIndex(FoldersPage);
      break;
    case SetupPage::Ready:
      summary_->setPlainText(Q(session_.PageText()));
      pages_->setCurrentIndex(ReadyPage);
      break;
    case SetupPage::Installing: pages_->setCurrentIndex(InstallingPage); break;
    case SetupPage::Finished:
      finish_->setText(Q(session_.PageText()));
      pages_->setCurrentIndex(FinishedPage);
      break;
  }
  back_->setEnabled(session_.CanGoBack());
  proceed_->setEnabled(session_.CanProceed());
  abort_->setEnabled(session_.CanAbort());
}

void TFormSetup::ShowComponents() {
  QSignalBlocker block(components_);
  const auto& package = session_.Package();
  for (int i = 0; i < components_->count(); ++i) {
    QListWidgetItem* item = components_->item(i);
    bool required = package.components[static_cast<std::size_t>(i)].required;
    item->setFlags(required ? Qt::ItemIsSelectable : Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setFlags(item->flags() | Qt::ItemIsEnabled);
    item->setCheckState(session_.Components()[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
  }
  int row = components_->currentRow();
  description_->setVisible(details_->isChecked());
  description_->setText(row >= 0 ? Q(package.components[static_cast<std::size_t>(row)].description) : QString());
}

void TFormSetup::ShowFolders() {
  folders_->clear();
  try {
    for (const auto& f : session_.Folders())
      new QTreeWidgetItem(folders_, {Q(f.caption), Q(f.path)});
  } catch (const std::exception& e) {
    new QTreeWidgetItem(folders_, {Q(e.what())});
  }
  folders_->setCurrentItem(folders_->topLevelItem(0));
}

void TFormSetup::BrowseFolder(int row) {
  auto folders = session_.Folders();
  if (row < 0 || row >= static_cast<int>(folders.size())) return;
  const PackageFolder& folder = folders[static_cast<std::size_t>(row)];
  std::optional<QString> chosen;
  if (chooseFolder_) {
    chosen = chooseFolder_(folder);
  } else {
    TFormDirSel dialog(Q(session_.Message(message::SelectFolder, {folder.caption})), Q(folder.path), this);
    if (dialog.exec() == QDialog::Accepted) chosen = dialog.Folder();
  }
  if (!chosen || chosen->isEmpty()) return;
  session_.ChooseFolder(folder.variable, chosen->toStdString());
  ShowFolders();
}

void TFormSetup::closeEvent(QCloseEvent* event) {
  if (session_.Done() || session_.Page() == SetupPage::Finished) return event->accept();
  if (session_.Page() == SetupPage::Installing) return event->ignore();
  bool abort = confirmAbort_ ? confirmAbort_()
                             : QMessageBox::question(this, windowTitle(), Text(message::ConfirmAbort)) == QMessageBox::Yes;
  if (abort) event->accept();
  else event->ignore();
}

void TFormSetup::Progress(const std::string& text, std::size_t done, std::size_t total) {
  progressText_->setText(Q(text));
  progress_->setMaximum(static_cast<int>(total));
  progress_->setValue(static_cast<int>(done));
}

void TFormSetup::Pump() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace clangor::outfit
