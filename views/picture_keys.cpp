#include "views/picture_keys.h"

#include <algorithm>
#include <cmath>

namespace clangor {

namespace {
bool Is(QRgb pixel, QRgb key) { return (pixel & 0xFFFFFF) == key; }
}  // namespace

QImage KeyedToAlpha(const QImage& image, QRgb key) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (Is(line[x], key)) line[x] = 0;
  }
  return out;
}

QImage LoadBitmap(const QString& path) {
  QImage image;
  if (!image.load(path, "BMP")) return {};
  return image.convertToFormat(QImage::Format_RGB32);
}

QImage ScaleMaskNearest(const QImage& mask, double scale) {
  if (scale == 1.0 || mask.isNull() || scale <= 0) return mask;
  const QImage source = mask.convertToFormat(QImage::Format_RGB32);
  const int w = static_cast<int>(source.width() * scale), h = static_cast<int>(source.height() * scale);
  QImage out(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const int sy = static_cast<int>(y / scale);
    for (int x = 0; x < out.width(); ++x) {
      const int sx = static_cast<int>(x / scale);
      line[x] = sx < source.width() && sy < source.height() ? source.pixel(sx, sy) : 0xFFFFFFFF;
    }
  }
  return out;
}

void ApplyMask(QImage& picture, const QImage& mask) {
  const QImage m = mask.convertToFormat(QImage::Format_RGB32);
  const int w = std::min(picture.width(), m.width()), h = std::min(picture.height(), m.height());
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const auto* maskLine = reinterpret_cast<const QRgb*>(m.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb pixel = maskLine[x];
      if (Is(pixel, MaskKey)) continue;
      line[x] = Is(pixel, PictureKey) ? 0 : (pixel | 0xFF000000);
    }
  }
}

}  // namespace clangor
