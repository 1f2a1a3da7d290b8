// What the sound server is asked to hold as the stream runs dry and blows
// come late: the buffering grows at each report without the stream being
// reopened, the latency with it, and neither ever comes back down; a fixed
// period stays.
#include "sound/pulse_buffering.h"

#include <gtest/gtest.h>

#include <string>

namespace clangor {
namespace {

constexpr int FrameBytes = 4;

struct Event {
  bool ranDry;     // else a blow handed over late
  int period;      // frames, after it
  int handOver;    // frames, after it
  bool askAnew;    // the server is to be asked again
};

void Check(PulseBuffering& buffering, const std::vector<Event>& events) {
  int latency = buffering.latencyFrames();
  for (std::size_t i = 0; i < events.size(); ++i) {
    const Event& e = events[i];
    SCOPED_TRACE("event " + std::to_string(i));
    const bool grew = e.ranDry ? buffering.ranDry() : buffering.handedOverLate();
    EXPECT_EQ(grew, e.askAnew);
    EXPECT_EQ(buffering.period(), e.period);
    EXPECT_EQ(buffering.handOverFrames(), e.handOver);
    EXPECT_GE(buffering.latencyFrames(), latency);
    latency = buffering.latencyFrames();
    EXPECT_EQ(latency, e.period * PulsePeriodsHeld + e.handOver);
    const PulseBuffering::Request r = buffering.request(FrameBytes);
    EXPECT_EQ(r.target, std::uint32_t(e.period * PulsePeriodsHeld * FrameBytes));
    EXPECT_EQ(r.request, std::uint32_t(e.period * FrameBytes));
    EXPECT_EQ(r.startAt, std::uint32_t(e.period * FrameBytes));
  }
}

TEST(PulseBuffering, RunningDryGrowsTheBufferingToTheLargestAndNeverBack) {
  PulseBuffering buffering;
  EXPECT_EQ(buffering.period(), BufferingChoice::SmallestPeriod);
  EXPECT_EQ(buffering.latencyFrames(), 128 * PulsePeriodsHeld + PulseBuffering::HandOverFrames);
  Check(buffering, {{true, 256, 136, true},
                    {false, 256, 272, true},
                    {true, 512, 272, true},
                    {true, 1024, 272, true},
                    {false, 1024, 544, true},
                    {true, 2048, 544, true},
                    {true, 4096, 544, true},
                    {true, 4096, 544, false},
                    {false, 4096, 1088, true},
                    {false, 4096, 2176, true},
                    {false, 4096, 4352, true},
                    {false, 4096, 4352, false},
                    {true, 4096, 4352, false}});
}

TEST(PulseBuffering, AFixedPeriodStaysThoughTheStreamRunsDry) {
  PulseBuffering buffering(192);
  EXPECT_TRUE(buffering.fixed());
  Check(buffering, {{true, 192, 136, false}, {false, 192, 272, true}, {true, 192, 272, false}});
}

}  // namespace
}  // namespace clangor
