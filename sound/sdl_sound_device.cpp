#include "sound/sdl_sound_device.h"

#include <SDL.h>

#include <string>

#include "sound/mixer.h"
#include "sound/sound_result.h"

namespace clangor {

namespace {

class SdlSoundDevice final : public SoundDevice {
 public:
  SdlSoundDevice(SDL_AudioDeviceID device, const SDL_AudioSpec& obtained) : device_(device), format_(obtained) {}
  ~SdlSoundDevice() override {
    // Returns only once the callback has finished its last period.
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SdlSoundDevice(const SdlSoundDevice&) = delete;
  SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

  std::uint32_t sampleRate() const override { return static_cast<std::uint32_t>(format_.freq); }
  int framesPerPeriod() const override { return format_.samples; }
  std::string name() const override {
    const char* driver = SDL_GetCurrentAudioDriver();
    return std::string("SDL ") + (driver ? driver : "?");
  }

 private:
  SDL_AudioDeviceID device_;
  SDL_AudioSpec format_;
};

// The audio thread's entry: the mixer fills the period, silence included.
void Pull(void* userdata, Uint8* stream, int bytes) {
  auto* mixer = static_cast<Mixer*>(userdata);
  mixer->render(reinterpret_cast<std::int16_t*>(stream), bytes / (Mixer::OutputChannels * 2));
}

}  // namespace

std::unique_ptr<SoundDevice> OpenSdlSoundDevice(Mixer& mixer, std::int32_t& result) {
  result = SoundNoDriver;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(Mixer::OutputRate);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = Mixer::OutputChannels;
  wanted.samples = Mixer::MaxFramesPerPeriod;
  wanted.callback = Pull;
  wanted.userdata = &mixer;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts whatever the card does into exactly this
  // format and period, so the mixer's output is the same on every device.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  auto opened = std::make_unique<SdlSoundDevice>(device, obtained);
  SDL_PauseAudioDevice(device, 0);
  result = SoundOk;
  return opened;
}

}  // namespace clangor
