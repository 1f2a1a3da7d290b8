// An auto-reset event: Signal wakes one wait (or the next one to begin), and
// the wait resets it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace clangor {

class WakeEvent {
 public:
  void Signal() {
    {
      std::lock_guard lock(lock_);
      signalled_ = true;
    }
    wake_.notify_one();
  }
  // Waits until signalled or `ms` real milliseconds have passed; true when signalled.
  bool Wait(int ms) {
    std::unique_lock lock(lock_);
    const bool woken = wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return signalled_; });
    signalled_ = false;
    return woken;
  }

 private:
  std::mutex lock_;
  std::condition_variable wake_;
  bool signalled_ = false;
};

}  // namespace clangor
