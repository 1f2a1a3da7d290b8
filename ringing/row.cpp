#include "ringing/row.h"

#include "ringing/bells.h"

namespace clangor {

Row Rounds(int bells) {
  Row row(static_cast<std::size_t>(bells > 0 ? bells : 0));
  for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<int>(i);
  return row;
}

bool IsRounds(const Row& row) {
  for (std::size_t i = 0; i < row.size(); ++i)
    if (row[i] != static_cast<int>(i)) return false;
  return true;
}

std::string RowText(const Row& row) {
  std::string text;
  text.reserve(row.size());
  for (const int bell : row) text.push_back(BellChar(bell));
  return text;
}

}  // namespace clangor
