// Strikes the bells of a change generator at their ideal times, as the
// striking clock would with perfect bells: after each blow the bell asks the
// generator for its timing class c, and its next blow falls
// (bells - 1 + c) blow intervals later. Times are counted in blow intervals.
#pragma once

#include <queue>
#include <utility>
#include <vector>

namespace clangor {

class ChangeGenerator;

class IdealStriking {
 public:
  // The first row is rounds, bell i striking at interval i.
  explicit IdealStriking(ChangeGenerator& generator);

  struct Blow {
    int bell;
    long interval;  // when it struck, in blow intervals from the first blow
  };

  // The next blow in striking order; the bell has asked for its next blow.
  Blow Strike();

 private:
  using Entry = std::pair<long, int>;  // (interval, bell): ties strike the lower bell first
  ChangeGenerator& generator_;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> due_;
};

}  // namespace clangor
