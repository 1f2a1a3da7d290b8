// The ringing clock read from both threads at once, as the ringing loop and
// the Pause command read it.
#include <gtest/gtest.h>

#include <thread>

#include "engine/ringing_clock.h"
#include "platform/ticks.h"

namespace clangor {
namespace {

TEST(ClockThreadsTest, ReadingsFromTwoThreadsNeverLookLikeAWrapOfTheTickCount) {
  Ringing().Reset();
  SimulatedTickSource ticks(1000);
  constexpr int Readings = 200000;
  std::thread worker([&] {
    for (int i = 0; i < Readings; ++i) {
      ticks.Sleep(1);
      ReadClock(ticks, true);
    }
  });
  for (int i = 0; i < Readings; ++i) ReadClock(ticks, false);
  worker.join();
  const double reading = ReadClock(ticks, false);
  {
    std::lock_guard lock(Ringing().clockLock);
    EXPECT_EQ(Ringing().tickWraps, 0u);
  }
  EXPECT_LE(reading, 1.0 + Readings * 0.001 + 1e-6);
  Ringing().Reset();
}

}  // namespace
}  // namespace clangor
