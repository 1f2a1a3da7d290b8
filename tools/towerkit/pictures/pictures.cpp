#include "tools/towerkit/pictures/pictures.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "tools/towerkit/pictures/palette.h"
#include "tools/towerkit/pictures/picture_kit.h"

namespace clangor::towerkit {

namespace {

constexpr const char* FontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
QString fontFamily;

}  // namespace

struct PictureSession::Application {
  Application(int& argc, char** argv) : app(argc, argv) {}
  QGuiApplication app;
};

PictureSession::PictureSession(int& argc, char** argv) {
  // No display: Qt's offscreen platform draws into memory only.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  application_ = std::make_unique<Application>(argc, argv);
  const int id = QFontDatabase::addApplicationFont(FontFile);
  if (id < 0) throw std::runtime_error(std::string("cannot load the font ") + FontFile + " (fonts-dejavu-core)");
  fontFamily = QFontDatabase::applicationFontFamilies(id).value(0);
}

PictureSession::~PictureSession() = default;

QImage NewPicture(int w, int h, const QColor& fill) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void SaveBitmap(const QImage& image, const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  if (!image.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(path.string()), "BMP")) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

void SavePaletteBitmap(const QImage& image, const std::filesystem::path& path) {
  SaveRle8Bitmap(ToIndexed(image), path);
}

QFont CharacterFont(int pixels) {
  QFont font(fontFamily);
  font.setPixelSize(pixels);
  font.setBold(true);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace clangor::towerkit
