#include "shell/volume_speed_pitch_dialog.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

#include <filesystem>

#include "shell/framework/dialog_control.h"
#include "shell/preferences.h"
#include "ui_d104_volume_speed_pitch.h"

namespace clangor {

namespace {

using OvLibrary::DialogControl;
namespace id = volume_speed_pitch_control;

struct ArrowButton {
  int control;
  int key;
  const char* picture;
};
constexpr ArrowButton ArrowButtons[] = {
    {id::DecreasePealTime, Qt::Key_Left, "left.bmp"},
    {id::IncreasePealTime, Qt::Key_Right, "right.bmp"},
    {id::RaisePitch, Qt::Key_Up, "up.bmp"},
    {id::LowerPitch, Qt::Key_Down, "down.bmp"},
};

// The button face greys of a picture take the colours of the dialog's own
// palette, as a button's face does.
QPixmap WithDialogColours(QImage image, const QPalette& palette) {
  image = image.convertToFormat(QImage::Format_RGB32);
  const struct {
    QRgb grey;
    QColor colour;
  } map[] = {
      {qRgb(192, 192, 192), palette.color(QPalette::Button)},
      {qRgb(212, 208, 200), palette.color(QPalette::Button)},
      {qRgb(128, 128, 128), palette.color(QPalette::Dark)},
      {qRgb(223, 223, 223), palette.color(QPalette::Light)},
  };
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      for (const auto& m : map)
        if ((line[x] & 0xFFFFFF) == (m.grey & 0xFFFFFF)) line[x] = m.colour.rgb();
  }
  return QPixmap::fromImage(image);
}

}  // namespace

VolumeSpeedPitchDialog::VolumeSpeedPitchDialog(QWidget* keyTarget, const std::string& pictureFolder,
                                               VolumeSpeedPitchHooks hooks, QWidget* parent)
    : QDialog(parent), keyTarget_(keyTarget), hooks_(std::move(hooks)) {
  Ui::VolumeSpeedPitchDialog layout;
  layout.setupUi(this);
  for (const ArrowButton& arrow : ArrowButtons) {
    auto* button = DialogControl<QPushButton>(this, arrow.control);
    const QImage picture(QString::fromStdString((std::filesystem::path(pictureFolder) / arrow.picture).string()));
    // A missing picture leaves the button without one.
    if (!picture.isNull()) button->setIcon(WithDialogColours(picture, palette()));
    button->installEventFilter(this);
    const int key = arrow.key;
    connect(button, &QPushButton::clicked, this, [this, key] { Press(key); });
  }
  auto* slider = DialogControl<QSlider>(this, id::Volume);
  connect(slider, &QSlider::valueChanged, this, [this](int position) {
    if (!showingVolume_ && hooks_.setVolume) hooks_.setVolume(VolumeForSliderPosition(position));
  });
  connect(DialogControl<QPushButton>(this, id::Close), &QPushButton::clicked, this, &QDialog::reject);
  connect(DialogControl<QPushButton>(this, id::Help), &QPushButton::clicked, this, [this] {
    if (hooks_.help) hooks_.help();
  });
  ShowVolume();
  ShowSpeed();
  ShowPitch();
  adjustSize();
}

// A click carries the modifiers of the mouse button or key that made it.
bool VolumeSpeedPitchDialog::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
      clickModifiers_ = static_cast<QMouseEvent*>(event)->modifiers();
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      clickModifiers_ = static_cast<QKeyEvent*>(event)->modifiers();
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void VolumeSpeedPitchDialog::Press(int key) {
  QKeyEvent press(QEvent::KeyPress, key, clickModifiers_ & (Qt::ControlModifier | Qt::ShiftModifier));
  if (keyTarget_) QApplication::sendEvent(keyTarget_, &press);
  if (key == Qt::Key_Left || key == Qt::Key_Right) {
    ShowSpeed();
  } else {
    ShowPitch();
    ShowVolume();  // Ctrl changed the volume instead
  }
}

void VolumeSpeedPitchDialog::ShowSpeed() {
  if (hooks_.pealTime) DialogControl<QLabel>(this, id::PealTime)->setText(QString::fromStdString(hooks_.pealTime()));
  if (hooks_.clockSpeed)
    DialogControl<QLabel>(this, id::DesiredClockSpeed)->setText(QString::fromStdString(hooks_.clockSpeed()));
}

void VolumeSpeedPitchDialog::ShowPitch() {
  if (hooks_.tenorNote) DialogControl<QLabel>(this, id::TenorNote)->setText(QString::fromStdString(hooks_.tenorNote()));
}

void VolumeSpeedPitchDialog::ShowVolume() {
  if (!hooks_.volume) return;
  showingVolume_ = true;
  DialogControl<QSlider>(this, id::Volume)->setValue(VolumeSliderPosition(hooks_.volume()));
  showingVolume_ = false;
}

}  // namespace clangor
