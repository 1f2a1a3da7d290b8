#include "views/picture_keys.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace clangor {

namespace {
bool Is(QRgb pixel, QRgb key) { return (pixel & 0xFFFFFF) == key; }
}  // namespace

QImage KeyedToAlpha(const QImage& image, QRgb key) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int w = out.width(), h = out.height();
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x)
      if (Is(line[x], key)) line[x] = 0;
  }
  return out;
}

namespace {

// Whether a pixel of a w x h picture (rows `stride` pixels apart) touches a
// transparent one, its eight neighbours looked at on the raw rows: this runs
// for every opaque pixel of every bell picture while a tower loads.
bool BesideTransparent(const QRgb* pixels, int stride, int w, int h, int x, int y) {
  const int top = std::max(y - 1, 0), bottom = std::min(y + 1, h - 1);
  const int left = std::max(x - 1, 0), right = std::min(x + 1, w - 1);
  for (int ny = top; ny <= bottom; ++ny) {
    const QRgb* row = pixels + static_cast<std::ptrdiff_t>(ny) * stride;
    for (int nx = left; nx <= right; ++nx)
      if (qAlpha(row[nx]) == 0) return true;
  }
  return false;
}

// How far a colour leans towards the key's hue: the key's own channels
// against the others (the key itself 255, greys and earth colours about 0).
double Lean(double r, double g, double b, QRgb key) {
  const double kr = qRed(key) / 255.0, kg = qGreen(key) / 255.0, kb = qBlue(key) / 255.0;
  const double inKey = kr * r + kg * g + kb * b, keyChannels = kr + kg + kb;
  const double outKey = (1 - kr) * r + (1 - kg) * g + (1 - kb) * b, otherChannels = 3 - keyChannels;
  if (keyChannels <= 0 || otherChannels <= 0) return 0;
  return inKey / keyChannels - outKey / otherChannels;
}

}  // namespace

void UnblendKeyedEdges(QImage& picture, QRgb key) {
  const double keyLean = Lean(qRed(key), qGreen(key), qBlue(key), key);
  if (keyLean <= 0) return;
  // The neighbours are looked at in the picture as it came, before any edge
  // pixel turned transparent here.
  const QImage source = picture.copy();
  const auto* pixels = reinterpret_cast<const QRgb*>(source.constBits());
  const int stride = static_cast<int>(source.bytesPerLine() / sizeof(QRgb));
  const int w = picture.width(), h = picture.height();
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb p = line[x];
      if (qAlpha(p) != 255 || !BesideTransparent(pixels, stride, w, h, x, y)) continue;
      const double share = std::clamp(Lean(qRed(p), qGreen(p), qBlue(p), key) / keyLean, 0.0, 1.0);
      const double alpha = 1.0 - share;
      if (alpha < 0.05) {
        line[x] = 0;
        continue;
      }
      // What remains once the key's share is taken out, premultiplied by alpha.
      const auto channel = [&](int value, int keyValue) {
        return std::clamp(static_cast<int>(std::lround(value - share * keyValue)), 0, static_cast<int>(alpha * 255));
      };
      line[x] = qRgba(channel(qRed(p), qRed(key)), channel(qGreen(p), qGreen(key)), channel(qBlue(p), qBlue(key)),
                      static_cast<int>(std::lround(alpha * 255)));
    }
  }
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
