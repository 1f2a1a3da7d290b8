#include "tools/towerkit/pictures/palette.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/towerkit/pictures/picture_kit.h"

namespace clangor::towerkit {

namespace {

// Colours are counted at five bits a channel: 32768 cells.
constexpr int Bits = 5;
constexpr int Cells = 1 << (3 * Bits);

int CellOf(QRgb c) { return (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3; }

struct Cell {
  int index;
  std::uint32_t count;
  std::uint64_t r, g, b;  // sums of the full colours in the cell
  int channel(int c) const { return c == 0 ? index >> 10 : c == 1 ? (index >> 5) & 31 : index & 31; }
};

// A box of cells, with what the median cut asks of it worked out once.
struct Box {
  std::vector<Cell> cells;
  std::uint64_t weight = 0;
  int axis = 0, span = 0;  // the channel it spans widest, and how wide

  explicit Box(std::vector<Cell> in) : cells(std::move(in)) {
    for (const Cell& c : cells) weight += c.count;
    span = -1;
    for (int ch = 0; ch < 3; ++ch) {
      int lo = 31, hi = 0;
      for (const Cell& c : cells) {
        lo = std::min(lo, c.channel(ch));
        hi = std::max(hi, c.channel(ch));
      }
      if (hi - lo > span) {
        span = hi - lo;
        axis = ch;
      }
    }
  }
};

std::uint32_t MeanOf(const Box& box) {
  std::uint64_t n = 0, r = 0, g = 0, b = 0;
  for (const Cell& c : box.cells) {
    n += c.count;
    r += c.r;
    g += c.g;
    b += c.b;
  }
  if (n == 0) return 0;
  return static_cast<std::uint32_t>((r / n) << 16 | (g / n) << 8 | (b / n));
}

// Splits the box that covers the most picture over the widest span, at its
// median, until there are `most` boxes (or every colour has its own).
std::vector<Box> MedianCut(std::vector<Cell> present, int most) {
  std::vector<Box> boxes;
  if (present.empty() || most <= 0) return boxes;
  boxes.emplace_back(std::move(present));
  while (static_cast<int>(boxes.size()) < most) {
    std::size_t pick = boxes.size();
    double best = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].cells.size() < 2) continue;
      const double score = static_cast<double>(boxes[i].weight) * (boxes[i].span + 1);
      if (score > best) {
        best = score;
        pick = i;
      }
    }
    if (pick == boxes.size()) break;
    std::vector<Cell> all = std::move(boxes[pick].cells);
    const int ch = boxes[pick].axis;
    std::sort(all.begin(), all.end(), [ch](const Cell& a, const Cell& b) {
      return a.channel(ch) < b.channel(ch) || (a.channel(ch) == b.channel(ch) && a.index < b.index);
    });
    std::uint64_t total = 0;
    for (const Cell& c : all) total += c.count;
    std::uint64_t running = 0;
    std::size_t cut = 1;
    for (; cut < all.size(); ++cut) {
      running += all[cut - 1].count;
      if (running >= total / 2) break;
    }
    cut = std::min(cut, all.size() - 1);
    std::vector<Cell> upper(all.begin() + static_cast<std::ptrdiff_t>(cut), all.end());
    all.resize(cut);
    boxes[pick] = Box(std::move(all));
    boxes.emplace_back(std::move(upper));
  }
  return boxes;
}

}  // namespace

IndexedPicture ToIndexed(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const QRgb key = KeyColour.rgb() & 0xFFFFFF;
  std::vector<Cell> cells(Cells);
  for (int i = 0; i < Cells; ++i) cells[static_cast<std::size_t>(i)] = Cell{i, 0, 0, 0, 0};
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == key) continue;
      Cell& c = cells[static_cast<std::size_t>(CellOf(line[x]))];
      ++c.count;
      c.r += static_cast<std::uint64_t>(qRed(line[x]));
      c.g += static_cast<std::uint64_t>(qGreen(line[x]));
      c.b += static_cast<std::uint64_t>(qBlue(line[x]));
    }
  }
  // Edge pixels blended with the key are cut apart from the rest, so that
  // no colour of the picture is averaged with them (a purple cast where
  // none belongs).
  std::vector<Cell> solid, keyed;
  for (const Cell& c : cells) {
    if (!c.count) continue;
    const bool leansToKey = c.channel(0) > c.channel(1) + 4 && c.channel(2) > c.channel(1) + 4;
    (leansToKey ? keyed : solid).push_back(c);
  }
  std::vector<Box> boxes = MedianCut(std::move(solid), keyed.empty() ? 255 : 207);
  std::vector<Box> edges = MedianCut(std::move(keyed), 255 - static_cast<int>(boxes.size()));
  for (Box& b : edges) boxes.push_back(std::move(b));
  IndexedPicture out;
  out.width = image.width();
  out.height = image.height();
  out.palette[0] = key;
  std::vector<std::uint8_t> lookup(Cells, 0);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    out.palette[i + 1] = MeanOf(boxes[i]);
    for (const Cell& c : boxes[i].cells) lookup[static_cast<std::size_t>(c.index)] = static_cast<std::uint8_t>(i + 1);
  }
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * out.width + x;
      out.pixels[at] = (line[x] & 0xFFFFFF) == key ? 0 : lookup[static_cast<std::size_t>(CellOf(line[x]))];
    }
  }
  return out;
}

}  // namespace clangor::towerkit
