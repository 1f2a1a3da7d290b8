// Windows bitmaps of 256 colours, run-length encoded (BI_RLE8): the swing
// pictures are mostly the colour key round a bell, which runs pack small.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace clangor::towerkit {

struct IndexedPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;          // palette indices, top row first
  std::array<std::uint32_t, 256> palette{};  // 0xRRGGBB
};

// One row's codes: runs of one index as (count, index), stretches of mixed
// indices in absolute mode (0, count, indices, padded to an even length),
// ended by the end of line (0, 0).
std::vector<std::uint8_t> EncodeRle8Row(const std::uint8_t* row, int width);

// The whole file: headers, palette, rows bottom up, end of bitmap.
std::string Rle8BitmapFile(const IndexedPicture& picture);
// Writes it, making the folder; throws when it cannot.
void SaveRle8Bitmap(const IndexedPicture& picture, const std::filesystem::path& path);

}  // namespace clangor::towerkit
