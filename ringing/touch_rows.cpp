#include "ringing/touch_rows.h"

#include "ringing/change_generator.h"
#include "ringing/event_log.h"
#include "ringing/ideal_striking.h"

namespace clangor {

namespace {
constexpr long MaxRoundsBeforeChanges = 100;
}

TouchEnd RingUntilRound(ChangeGenerator& generator, EventLog& log, long maxRows,
                        const std::function<void(const std::string& row)>& onRow) {
  IdealStriking striking(generator);
  const std::string rounds = RowText(Rounds(generator.bellCount()));
  long rows = 0;
  long roundsBeforeChanges = 0;
  while (true) {
    striking.Strike();
    for (const EngineEvent& e : log.Take()) {
      if (e.code != event::RowRung) continue;
      const bool isRounds = e.text == rounds;
      if (rows == 0 && isRounds) {
        if (++roundsBeforeChanges > MaxRoundsBeforeChanges) return TouchEnd::NoChanges;
        continue;
      }
      onRow(e.text);
      ++rows;
      if (isRounds) return TouchEnd::CameRound;
      if (rows >= maxRows) return TouchEnd::TooLong;
    }
  }
}

}  // namespace clangor
