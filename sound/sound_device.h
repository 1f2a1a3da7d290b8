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
};

// Opens a device that plays `mixer`. On failure returns nothing and sets
// `result` to the failure code; on success sets it to 0.
using SoundDeviceOpener = std::function<std::unique_ptr<SoundDevice>(Mixer& mixer, std::int32_t& result)>;

}  // namespace clangor
