// An up-down control: two small arrow buttons that step a position within a
// range and show it in their buddy edit. Text typed into the buddy is taken
// when the buddy loses the focus, clamped into the range, and the buddy then
// shows the position again, so nothing outside the range can be entered.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

#include "shell/preferences.h"

class QLineEdit;
class QToolButton;

namespace OvLibrary {

class UpDown final : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);

  // The edit that shows the position; `format` writes it (none: the number).
  void SetBuddy(QLineEdit* buddy, std::function<std::string(int)> format = {});
  void SetRange(clangor::UpDownRange range);
  // Clamped into the range; the buddy shows it.
  void SetPosition(int position);
  int position() const { return position_; }
  // One step up (+1) or down (-1); refused when it would leave the range.
  bool StepBy(int delta);
  // Takes what was typed into the buddy, as when it loses the focus.
  void TakeTypedText();
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  void positionChanged(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPosition();

  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* buddy_ = nullptr;
  std::function<std::string(int)> format_;
  clangor::UpDownRange range_{0, 100};
  int position_ = 0;
};

}  // namespace OvLibrary
