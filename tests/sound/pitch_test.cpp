#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "sound/pitch.h"

namespace clangor {
namespace {

TEST(PitchedFrequency, ShiftsByWholeSemitonesAndTruncates) {
  struct Case {
    std::uint32_t rate;
    std::int64_t shift;
    std::uint32_t expected;
  } cases[] = {
      {22050, 12, 44100},  // an octave up doubles exactly
      {22050, -12, 11025}, // and down halves
      {44100, 1, 46722},   // 46722.32
      {44100, -1, 41624},  // 41624.86
      {44100, 0, 44100},
      {44100, 7, 66075},   // 66075.34
      {11025, 24, 44100},  // 44100.000000000004
      {0, 5, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PitchedFrequency(c.rate, c.shift), c.expected) << c.rate << " shifted " << c.shift;
  }
  // Far-out shifts from a damaged sound set neither wrap nor misbehave.
  EXPECT_EQ(PitchedFrequency(44100, 1000), std::numeric_limits<std::uint32_t>::max());
  EXPECT_EQ(PitchedFrequency(44100, -1000), 0u);
  EXPECT_EQ(PitchedFrequency(44100, std::numeric_limits<std::int64_t>::min()), 0u);
}

TEST(ReadSemitoneShift, ReadsDecimalTextLeniently) {
  EXPECT_EQ(ReadSemitoneShift("-3"), -3);
  EXPECT_EQ(ReadSemitoneShift("12"), 12);
  EXPECT_EQ(ReadSemitoneShift(""), 0);
  EXPECT_EQ(ReadSemitoneShift("sharp"), 0);
  EXPECT_EQ(ReadSemitoneShift("99999999999999999999"), 1000);
  EXPECT_EQ(ReadSemitoneShift("-5000"), -1000);
}

}  // namespace
}  // namespace clangor
