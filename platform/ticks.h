// The millisecond tick count: an unsigned 32-bit count that wraps after
// about 49.7 days. The engine reads time only through a TickSource, so that
// it runs on the real clock in the simulator and on a hand-advanced clock in
// the tests and the headless ringer.
#pragma once

#include <atomic>
#include <cstdint>

namespace clangor {

class TickSource {
 public:
  virtual ~TickSource() = default;
  // The tick count now, in milliseconds. Any thread may call it.
  virtual std::uint32_t Ticks() const = 0;
  // Waits about `ms` milliseconds of this source's time.
  virtual void Sleep(std::uint32_t ms) = 0;
};

// Milliseconds passed from `earlier` to `later`, across one wrap of the count.
inline std::uint32_t TicksBetween(std::uint32_t earlier, std::uint32_t later) { return later - earlier; }

// The machine's monotonic clock (steady_clock), in milliseconds, wrapping at 2^32.
class SteadyTickSource final : public TickSource {
 public:
  std::uint32_t Ticks() const override;
  void Sleep(std::uint32_t ms) override;  // really sleeps
};

// A clock that moves only when told to. Sleep advances it at once, so a loop
// that sleeps between passes runs as fast as the machine allows.
class SimulatedTickSource final : public TickSource {
 public:
  // Each millisecond slept moves the clock on by `stride` milliseconds: a
  // stride of 100 moves a ringing loop a whole 0.1 s sub-step for each 1 ms
  // sleep, so it rings as fast as the machine allows.
  explicit SimulatedTickSource(std::uint32_t start = 0, std::uint32_t stride = 1) : now_(start), stride_(stride) {}
  std::uint32_t Ticks() const override { return now_.load(std::memory_order_acquire); }
  void Sleep(std::uint32_t ms) override { Advance(ms * stride_); }
  // Moves the clock on; the count wraps as the real one does. Any thread may call it.
  void Advance(std::uint32_t ms) { now_.fetch_add(ms, std::memory_order_acq_rel); }
  void Set(std::uint32_t ticks) { now_.store(ticks, std::memory_order_release); }

 private:
  std::atomic<std::uint32_t> now_;
  const std::uint32_t stride_;
};

}  // namespace clangor
