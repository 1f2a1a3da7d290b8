// The kit's running time, wall and processor, for the lines it prints when
// it is done. The processor time counts the kit's own threads and the
// processes it forked to solve the towers side by side, so that the two
// figures together show how well the cores were used.
#pragma once

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace clangor::towerkit {

class KitClock {
 public:
  KitClock() : wallBegan_(std::chrono::steady_clock::now()), processorBegan_(ProcessorSeconds()) {}

  double WallSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBegan_).count();
  }
  double ProcessorSecondsSince() const { return ProcessorSeconds() - processorBegan_; }

  // "<what> in 12.3 s (processor 20.1 s)"
  void Print(const char* what) const {
    std::printf("towerkit: %s in %.1f s (processor %.1f s)\n", what, WallSeconds(), ProcessorSecondsSince());
    std::fflush(stdout);
  }

 private:
  static double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }
  static double ProcessorSeconds() {
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return Seconds(self.ru_utime) + Seconds(self.ru_stime) + Seconds(children.ru_utime) + Seconds(children.ru_stime);
  }

  std::chrono::steady_clock::time_point wallBegan_;
  double processorBegan_;
};

}  // namespace clangor::towerkit
