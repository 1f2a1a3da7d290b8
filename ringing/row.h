// Rows: bells in position order, position 0 leading.
#pragma once

#include <string>
#include <vector>

namespace clangor {

// Position -> bell index. Rounds is the identity.
using Row = std::vector<int>;

Row Rounds(int bells);
bool IsRounds(const Row& row);

// The bell characters of the row in position order, no separators.
std::string RowText(const Row& row);

}  // namespace clangor
