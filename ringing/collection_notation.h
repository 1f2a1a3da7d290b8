// Place notation as the public method collections write it: places with "x"
// or "-" for the cross, "." between changes, and "A,B" for a lead made of two
// palindromes (each half written up to the change it turns about). Read into
// whole changes, every place that the change implies written out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace clangor {

// The places of one change, 0-based and ascending; empty for the cross.
using Change = std::vector<int>;

struct CollectionNotation {
  std::vector<Change> lead;  // the changes of one lead, in order
  std::string error;         // why it cannot be read; empty when it can
};

// Reads `notation` at `stage`: without "," it is the lead written out in
// full; with one "," each side is a palindrome written up to its middle
// change. "&" before a part marks it a palindrome and "+" written as it
// stands, as other notations write them.
CollectionNotation ReadCollectionNotation(std::string_view notation, int stage);

// The change's text in a method's line: "-" for the cross, else its places.
std::string ChangeText(const Change& change);

// The change that `places` (0-based, any order) stand for at `stage`, with
// the places at the ends that it implies added; empty with `error` set when
// no change makes those places.
Change WholeChange(std::vector<int> places, int stage, std::string* error);

}  // namespace clangor
