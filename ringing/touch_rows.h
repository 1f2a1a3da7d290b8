// Rings a touch at ideal striking, from rounds, and gathers the rows it
// publishes: from the first changed row up to and including the rounds at
// which it comes round.
#pragma once

#include <functional>
#include <string>

namespace clangor {

class ChangeGenerator;
class EventLog;

enum class TouchEnd {
  CameRound,   // a published rounds row after changed rows
  TooLong,     // maxRows rows without coming round
  NoChanges,   // rounds row after row: the touch never started
};

// `generator` must post its events to `log`. Each row is handed to `onRow`.
TouchEnd RingUntilRound(ChangeGenerator& generator, EventLog& log, long maxRows,
                        const std::function<void(const std::string& row)>& onRow);

}  // namespace clangor
