// Where the mixer's output goes: a sound card through the platform's audio
// layer, or an offline render. Opening a device starts it pulling periods from
// the mixer; destroying it stops the pulling before it returns, so the mixer
// must outlive it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace clangor {

class Mixer;

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  virtual std::uint32_t sampleRate() const = 0;
  // Frames the device asks the mixer for at a time.
  virtual int framesPerPeriod() const = 0;
  // What plays the sound, for reports ("offline", "SDL pulseaudio").
  virtual std::string name() const = 0;
  // The output frame at which a blow whose instant is `steadyNs` on the
  // steady clock starts sounding: a constant latency after it. 0 (at once)
  // for a device that keeps no clock, as an offline render whose owner
  // places each blow itself.
  virtual std::uint64_t frameForInstant(std::int64_t /*steadyNs*/) const { return 0; }
  // The output frame the device plays at `steadyNs`, as it reckons it;
  // negative while it does not know (or keeps no clock).
  virtual double playedFrameAt(std::int64_t /*steadyNs*/) const { return -1; }
  // That latency, in milliseconds; 0 without a clock.
  virtual double latencyMs() const { return 0; }
  // Driver, device, period and latency in words, for the ringer and the
  // window to show.
  virtual std::string description() const { return name(); }
  // The gaps the device played because a period was asked for too late.
  virtual std::uint64_t underruns() const { return 0; }
};

// Opens a device that plays `mixer`. On failure returns nothing and sets
// `result` to the failure code; on success sets it to 0.
using SoundDeviceOpener = std::function<std::unique_ptr<SoundDevice>(Mixer& mixer, std::int32_t& result)>;

}  // namespace clangor
