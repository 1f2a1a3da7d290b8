#include "shell/framework/up_down.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace OvLibrary {

namespace {
constexpr int ArrowWidth = 16;

QToolButton* Arrow(QWidget* parent, Qt::ArrowType type, const char* name) {
  auto* button = new QToolButton(parent);
  button->setArrowType(type);
  button->setObjectName(name);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedWidth(ArrowWidth);
  button->setMinimumHeight(4);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
  return button;
}
}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up_(Arrow(this, Qt::UpArrow, "up")), down_(Arrow(this, Qt::DownArrow, "down")) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFixedWidth(ArrowWidth);
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void UpDown::SetBuddy(QLineEdit* buddy, std::function<std::string(int)> format) {
  if (buddy_) buddy_->removeEventFilter(this);
  buddy_ = buddy;
  format_ = std::move(format);
  if (buddy_) {
    buddy_->installEventFilter(this);
    setFixedHeight(buddy_->sizeHint().height());  // the arrows stand beside their edit
  }
  ShowPosition();
}

void UpDown::SetRange(clangor::UpDownRange range) {
  range_ = range;
  SetPosition(position_);
}

void UpDown::SetPosition(int position) {
  const int clamped = range_.Clamp(position);
  const bool changed = clamped != position_;
  position_ = clamped;
  ShowPosition();
  if (changed) emit positionChanged(position_);
}

bool UpDown::StepBy(int delta) {
  if (!isEnabled()) return false;
  TakeTypedText();  // a step starts from what the ringer typed
  const auto next = range_.Step(position_, delta);
  if (!next) return false;
  SetPosition(*next);
  return true;
}

void UpDown::ShowPosition() {
  if (!buddy_) return;
  buddy_->setText(QString::fromStdString(format_ ? format_(position_) : std::to_string(position_)));
}

void UpDown::TakeTypedText() {
  if (!buddy_ || buddy_->isReadOnly()) return;
  SetPosition(range_.PositionForText(buddy_->text().toStdString(), position_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched != buddy_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusOut) TakeTypedText();
  // The arrow keys in the edit step as the arrows do.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      StepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace OvLibrary
