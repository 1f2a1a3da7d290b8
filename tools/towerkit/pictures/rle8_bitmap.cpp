#include "tools/towerkit/pictures/rle8_bitmap.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace clangor::towerkit {

namespace {

constexpr int MaxRun = 255;
// Absolute mode takes three or more indices; fewer are written as runs.
constexpr int MinAbsolute = 3;

int RunAt(const std::uint8_t* row, int at, int width) {
  int n = 1;
  while (at + n < width && n < MaxRun && row[at + n] == row[at]) ++n;
  return n;
}

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeRle8Row(const std::uint8_t* row, int width) {
  std::vector<std::uint8_t> out;
  int at = 0;
  while (at < width) {
    const int run = RunAt(row, at, width);
    if (run >= 2) {
      out.push_back(static_cast<std::uint8_t>(run));
      out.push_back(row[at]);
      at += run;
      continue;
    }
    // Mixed indices up to where a run of two or more begins.
    int end = at + 1;
    while (end < width && end - at < MaxRun && RunAt(row, end, width) < 2) ++end;
    const int count = end - at;
    if (count < MinAbsolute) {
      for (int i = at; i < end; ++i) {
        out.push_back(1);
        out.push_back(row[i]);
      }
    } else {
      out.push_back(0);
      out.push_back(static_cast<std::uint8_t>(count));
      out.insert(out.end(), row + at, row + end);
      if (count % 2) out.push_back(0);
    }
    at = end;
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::string Rle8BitmapFile(const IndexedPicture& picture) {
  std::string data;
  for (int y = picture.height - 1; y >= 0; --y) {
    const auto row = EncodeRle8Row(picture.pixels.data() + static_cast<std::size_t>(y) * picture.width, picture.width);
    data.append(row.begin(), row.end());
  }
  data += '\0';
  data += '\1';  // end of bitmap
  constexpr std::uint32_t Headers = 14 + 40 + 256 * 4;
  std::string file = "BM";
  Put32(file, Headers + static_cast<std::uint32_t>(data.size()));
  Put32(file, 0);
  Put32(file, Headers);
  Put32(file, 40);
  Put32(file, static_cast<std::uint32_t>(picture.width));
  Put32(file, static_cast<std::uint32_t>(picture.height));  // bottom up, as RLE must be
  Put16(file, 1);
  Put16(file, 8);
  Put32(file, 1);  // BI_RLE8
  Put32(file, static_cast<std::uint32_t>(data.size()));
  Put32(file, 2835);  // 72 dots an inch
  Put32(file, 2835);
  Put32(file, 256);
  Put32(file, 0);
  for (const std::uint32_t rgb : picture.palette) Put32(file, rgb & 0xFFFFFF);  // blue, green, red, 0
  return file + data;
}

void SaveRle8Bitmap(const IndexedPicture& picture, const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << Rle8BitmapFile(picture);
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace clangor::towerkit
