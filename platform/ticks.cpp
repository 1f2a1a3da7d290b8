#include "platform/ticks.h"

#include <chrono>
#include <thread>

namespace clangor {

std::uint32_t SteadyTickSource::Ticks() const {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
}

void SteadyTickSource::Sleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace clangor
