// The run-length codes of a row of 256-colour pictures, and the file round
// them: what a Windows bitmap reader (and Qt's) decodes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/towerkit/pictures/rle8_bitmap.h"

namespace clangor::towerkit {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The indices a row's codes stand for, decoded as a reader does.
Bytes Decode(const Bytes& codes) {
  Bytes row;
  for (std::size_t i = 0; i + 1 < codes.size();) {
    const int n = codes[i], v = codes[i + 1];
    i += 2;
    if (n > 0) {
      row.insert(row.end(), static_cast<std::size_t>(n), static_cast<std::uint8_t>(v));
    } else if (v == 0) {
      break;  // end of line
    } else {
      row.insert(row.end(), codes.begin() + static_cast<std::ptrdiff_t>(i), codes.begin() + static_cast<std::ptrdiff_t>(i + v));
      i += static_cast<std::size_t>(v + v % 2);
    }
  }
  return row;
}

TEST(Rle8Row, RunsAndMixedStretchesDecodeToTheRow) {
  struct Case {
    const char* what;
    Bytes row;
    Bytes codes;
  };
  const Case cases[] = {
      {"one run", Bytes(5, 7), {5, 7, 0, 0}},
      {"a stretch of three mixed, padded to even", {1, 2, 3}, {0, 3, 1, 2, 3, 0, 0, 0}},
      {"two mixed are two runs of one", {1, 2}, {1, 1, 1, 2, 0, 0}},
      {"a stretch then a run", {4, 5, 6, 7, 9, 9, 9}, {0, 4, 4, 5, 6, 7, 3, 9, 0, 0}},
      {"one pixel", {0}, {1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes codes = EncodeRle8Row(c.row.data(), static_cast<int>(c.row.size()));
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(Decode(codes), c.row);
  }
}

TEST(Rle8Row, LongRowsSplitAtTheLongestCode) {
  Bytes row(600, 3);
  for (int i = 300; i < 600; ++i) row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 % 5 + i % 3);
  const Bytes codes = EncodeRle8Row(row.data(), static_cast<int>(row.size()));
  EXPECT_EQ(Decode(codes), row);
  EXPECT_EQ(codes[0], 255);  // the run of 300 in two codes
  EXPECT_EQ(codes[2], 45);
}

TEST(Rle8File, HeaderSaysCompressedEightBitBottomUpWithTheWholeSize) {
  IndexedPicture picture;
  picture.width = 3;
  picture.height = 2;
  picture.pixels = {0, 0, 0, 1, 2, 3};
  picture.palette[0] = 0xFF00FF;
  const std::string file = Rle8BitmapFile(picture);
  const auto le32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(file[at]) | static_cast<std::uint8_t>(file[at + 1]) << 8 |
                                      static_cast<std::uint8_t>(file[at + 2]) << 16 |
                                      static_cast<std::uint8_t>(file[at + 3]) << 24);
  };
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(le32(2), file.size());
  EXPECT_EQ(le32(10), 14u + 40 + 1024);  // the pixels follow the palette
  EXPECT_EQ(le32(18), 3u);
  EXPECT_EQ(le32(22), 2u);  // positive: bottom up
  EXPECT_EQ(static_cast<std::uint8_t>(file[28]), 8);
  EXPECT_EQ(le32(30), 1u);  // BI_RLE8
  EXPECT_EQ(le32(34), file.size() - le32(10));
  // Palette entries are blue, green, red: magenta either way round.
  EXPECT_EQ(le32(54), 0xFF00FFu);
  // The bottom row first, and the end of the bitmap last.
  const std::size_t data = le32(10);
  EXPECT_EQ(static_cast<std::uint8_t>(file[data]), 0);
  EXPECT_EQ(static_cast<std::uint8_t>(file[data + 1]), 3);
  EXPECT_EQ(file.substr(file.size() - 2), std::string("\0\1", 2));
}

}  // namespace
}  // namespace clangor::towerkit
