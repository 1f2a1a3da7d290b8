// What the kit's pictures share: the colour key, saving as a Windows bitmap,
// the font that characters are drawn with, and a deterministic scatter.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

#include <cstdint>
#include <filesystem>

namespace clangor::towerkit {

// Magenta: the colour the tower view and the ropes window leave transparent.
inline const QColor KeyColour(255, 0, 255);

// A picture of `w` x `h` filled with `fill`.
QImage NewPicture(int w, int h, const QColor& fill = KeyColour);
// Saves as a 24-bit .bmp, making the folder; throws when it cannot.
void SaveBitmap(const QImage& image, const std::filesystem::path& path);
// Saves as a run-length encoded bitmap of 256 colours, the colour key kept
// exactly: for the many pictures of the bells.
void SavePaletteBitmap(const QImage& image, const std::filesystem::path& path);
// DejaVu Sans Bold (Debian fonts-dejavu-core), at `pixels` high.
QFont CharacterFont(int pixels);

// A small deterministic scatter in 0 … 1, so that stones and grain are the
// same on every run (and the data folder the same bytes).
inline double Scatter(std::uint32_t seed) {
  seed ^= seed >> 16;
  seed *= 0x7feb352dU;
  seed ^= seed >> 15;
  seed *= 0x846ca68bU;
  seed ^= seed >> 16;
  return (seed & 0xFFFF) / 65535.0;
}

}  // namespace clangor::towerkit
