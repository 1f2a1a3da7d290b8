// The main window's part in the own bell's striking: the report dialog after
// each touch the user rang and on demand, the figures in the rows pane's
// copy, and the user's history on the tower.
#include <QDateTime>
#include <QDir>

#include <limits>

#include "engine/striking_text.h"
#include "library/striking_history.h"
#include "shell/framework/message_box.h"
#include "shell/main_window.h"
#include "tower/tower.h"
#include "views/striking_dialog.h"

namespace clangor {

namespace {

// What was rung, as the status bar names it; plain rounds have no name.
std::string TouchName(const TouchStatus& status) { return status.nameText.empty() ? "Rounds" : status.nameText; }

std::string UserName() {
  const QString user = qEnvironmentVariable("USER");
  return (user.isEmpty() ? QDir::home().dirName() : user).toStdString();
}

}  // namespace

void MainWindow::ShowStrikingReport() {
  // While the bells ring, the places still open are left for their blows.
  const double upTo = engine_ && engine_->ringing() ? engine_->clockNow() : std::numeric_limits<double>::infinity();
  const StrikingAnalysis analysis = striking_.Analyse(upTo);
  if (strikingDialog_ == nullptr) strikingDialog_ = new StrikingDialog(this);
  std::string what = TouchName(status_);
  if (tower_) what += " on " + tower_->name();
  strikingDialog_->SetAnalysis(analysis, QString::fromStdString(what));
  strikingDialog_->show();
  strikingDialog_->raise();
}

std::string MainWindow::StrikingText() const {
  if (!striking_.UserRang()) return {};
  const double upTo = engine_ && engine_->ringing() ? engine_->clockNow() : std::numeric_limits<double>::infinity();
  return "\r\n" + FormatStrikingReport(striking_.Analyse(upTo), "\r\n");
}

void MainWindow::RecordStrikingHistory() {
  const std::string data = SettingsStore::AppDataPath();
  if (data.empty() || !tower_) return;
  const StrikingAnalysis a = striking_.Analyse();
  StrikingHistoryLine line;
  line.date = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
  line.tower = tower_->name();
  line.method = TouchName(status_);
  line.bell = a.bell + 1;
  line.blows = a.whole.blows;
  line.rmsMs = a.whole.rmsMs;
  line.handMeanMs = a.hand.meanMs;
  line.backMeanMs = a.back.meanMs;
  const auto file = StrikingHistoryPath(data, UserName(), tower_->name());
  const HistoryAppended appended = AppendStrikingHistory(file, line);
  if (!appended.setAside.empty())
    OvLibrary::ShowMessageBox(this, "Striking History",
                              "Your striking history could not be read. It has been kept as " +
                                  appended.setAside.string() + " and a new history begun.");
  if (!appended.written)
    OvLibrary::ShowMessageBox(this, "Striking History", "Your striking history could not be written to " +
                                                            file.string() + ".");
}

}  // namespace clangor
