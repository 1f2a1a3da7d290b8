// Pictures as the tower view keeps them: bitmaps whose colour key (magenta
// for pictures, white for masks) becomes transparency when they are loaded,
// and bell masks whose coloured pixels overwrite the picture they cover.
#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

namespace clangor {

inline constexpr QRgb PictureKey = 0xFF00FF;  // magenta: shows what lies behind
inline constexpr QRgb MaskKey = 0xFFFFFF;     // white: leaves the picture as it is

// The image with every pixel of `key` colour made transparent, as ARGB32
// premultiplied.
QImage KeyedToAlpha(const QImage& image, QRgb key);
// Pictures drawn smooth over the key colour carry a rim of pixels blended
// with it. Each pixel beside a transparent one is taken apart again: the
// share of the key in it (measured by how far it leans to the key's hue)
// becomes transparency, so the rim blends with what lies behind instead of
// showing the key. Pixels inside the picture are left alone. `picture` is
// ARGB32 premultiplied, already keyed (KeyedToAlpha).
void UnblendKeyedEdges(QImage& picture, QRgb key);
// Loads a bitmap; a null image when the file is missing or not a bitmap.
QImage LoadBitmap(const QString& path);
// The mask shrunk by `scale` pixel by pixel (nearest pixel; positions
// outside the source are white).
QImage ScaleMaskNearest(const QImage& mask, double scale);
// Every mask pixel that is not white overwrites the picture's pixel; a
// magenta one makes it transparent. Both the same size (the overlap only
// otherwise). `picture` is ARGB32 premultiplied.
void ApplyMask(QImage& picture, const QImage& mask);

}  // namespace clangor
