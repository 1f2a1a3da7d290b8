#include "sound/pulse_buffering.h"

namespace clangor {

PulseBuffering::Request PulseBuffering::request(int frameBytes) const {
  const auto bytes = [frameBytes](int frames) { return static_cast<std::uint32_t>(frames * frameBytes); };
  // The server plays again as soon as one period is in: it waits no longer
  // than it must after running dry.
  return {bytes(bufferFrames()), bytes(period()), bytes(period())};
}

bool PulseBuffering::handedOverLate() {
  if (handOver_ >= LargestHandOverFrames) return false;
  handOver_ *= 2;
  return true;
}

}  // namespace clangor
