#include <gtest/gtest.h>

#include <sstream>

#include "platform/sysinfo.h"
#include "platform/ticks.h"
#include "tests/platform/temp_folder.h"

namespace clangor {
namespace {

TEST(SimulatedTicks, MoveOnlyWhenTold) {
  SimulatedTickSource clock(1000);
  TickSource& ticks = clock;
  EXPECT_EQ(ticks.Ticks(), 1000u);
  EXPECT_EQ(ticks.Ticks(), 1000u);
  clock.Advance(50);
  ticks.Sleep(1);  // a sleeping loop moves the simulated clock on
  EXPECT_EQ(ticks.Ticks(), 1051u);
  clock.Set(7);
  EXPECT_EQ(ticks.Ticks(), 7u);
}

TEST(SimulatedTicks, WrapLikeTheRealCount) {
  SimulatedTickSource clock(0xFFFFFFF0u);
  std::uint32_t before = clock.Ticks();
  clock.Advance(0x20);
  EXPECT_EQ(clock.Ticks(), 0x10u);
  EXPECT_EQ(TicksBetween(before, clock.Ticks()), 0x20u);
}

TEST(PhysicalMemory, FromMeminfo) {
  struct Case {
    const char* text;
    std::uint64_t bytes;
  } cases[] = {
      {"MemTotal:        8048576 kB\nMemFree:  1 kB\n", 8048576ull * 1024},
      {"MemFree:  1 kB\nMemTotal: 16 kB\n", 16 * 1024},
      {"MemTotal: 4096\n", 4096},
      {"MemTotal: lots kB\n", 0},
      {"MemTotal: 5 MB\n", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    EXPECT_EQ(MemTotalFromMeminfo(in), c.bytes) << c.text;
  }
  testing::TempFolder temp;
  testing::WriteFile(temp / "meminfo", "MemTotal: 2 kB\n");
  EXPECT_EQ(TotalPhysicalMemory(temp / "meminfo"), 2048u);
  EXPECT_EQ(TotalPhysicalMemory(temp / "missing"), 0u);
}

}  // namespace
}  // namespace clangor
