#include "sound/sdl_sound_device.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "sound/device_clock.h"
#include "sound/mixer.h"
#include "sound/sound_result.h"
#include "sound/underrun_watch.h"

namespace clangor {

namespace {

// Room for the ringing loop to hand a blow to the mixer after its instant
// (it steps its bells every millisecond or so) before the period that must
// start it is asked for.
constexpr int HandOverFrames = 136;
constexpr auto GrowthCheckEvery = std::chrono::milliseconds(20);

// A sound server (PulseAudio, or PipeWire's PulseAudio service) is asked by
// SDL to hold just one period: 128 frames cannot be kept filled on a desktop
// without real-time scheduling, so a server starts at 512 (11.6 ms).
constexpr int ServerStartPeriod = 512;

int StartPeriod() {
  const char* driver = SDL_GetCurrentAudioDriver();
  const std::string name = driver ? driver : "";
  return name == "pulseaudio" || name == "pipewire" ? ServerStartPeriod : 0;
}

class SdlSoundDevice final : public SoundDevice {
 public:
  SdlSoundDevice(Mixer& mixer, BufferingChoice choice)
      : mixer_(mixer),
        choice_(choice),
        clock_(Mixer::OutputRate, BlowLatencyFrames(choice.period())),
        watch_(Mixer::OutputRate) {}
  ~SdlSoundDevice() override {
    stop_ = true;
    if (keeper_.joinable()) keeper_.join();
    // Returns only once the callback has finished its last period.
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SdlSoundDevice(const SdlSoundDevice&) = delete;
  SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

  bool open() {
    if (!openAtPeriod()) return false;
    keeper_ = std::thread([this] { keep(); });
    return true;
  }

  std::uint32_t sampleRate() const override { return Mixer::OutputRate; }
  int framesPerPeriod() const override { return period_.load(); }
  std::string name() const override {
    const char* driver = SDL_GetCurrentAudioDriver();
    return std::string("SDL ") + (driver ? driver : "?");
  }
  std::uint64_t frameForInstant(std::int64_t steadyNs) const override { return clock_.frameForInstant(steadyNs); }
  double playedFrameAt(std::int64_t steadyNs) const override {
    const std::uint64_t frame = clock_.frameForInstant(steadyNs);
    return frame == 0 ? -1 : static_cast<double>(frame) - clock_.latencyFrames();
  }
  double latencyMs() const override { return clock_.latencyMs(); }
  std::uint64_t underruns() const override { return underruns_.load(); }
  std::string description() const override {
    const char* driver = SDL_GetCurrentAudioDriver();
    char text[256];
    std::snprintf(text, sizeof text, "driver %s, device %s, period %d frames (%.1f ms%s), latency %.1f ms",
                  driver ? driver : "?", "default", period_.load(), period_.load() * 1000.0 / Mixer::OutputRate,
                  choice_.fixed() ? ", fixed" : "", clock_.latencyMs());
    return text;
  }

 private:
  // The audio thread's entry: the mixer fills the period, silence included.
  static void Pull(void* userdata, Uint8* stream, int bytes) {
    auto* self = static_cast<SdlSoundDevice*>(userdata);
    const int frames = bytes / (Mixer::OutputChannels * 2);
    const std::int64_t now = SteadyNs();
    if (self->watch_.periodAsked(frames, now)) {
      self->underruns_.fetch_add(1);
      self->growWanted_ = true;
    }
    self->clock_.periodAsked(self->mixer_.framesRendered(), now);
    self->mixer_.render(reinterpret_cast<std::int16_t*>(stream), frames);
  }

  bool openAtPeriod() {
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(Mixer::OutputRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = Mixer::OutputChannels;
    wanted.samples = static_cast<Uint16>(choice_.period());
    wanted.callback = Pull;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts whatever the card does into exactly
    // this format and period, so the mixer's output is the same everywhere.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) return false;
    period_ = obtained.samples;
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  // Its own thread: reopens the device with more buffering after a gap.
  void keep() {
    while (!stop_) {
      std::this_thread::sleep_for(GrowthCheckEvery);
      if (!growWanted_.exchange(false) || !choice_.grow()) continue;
      SDL_CloseAudioDevice(device_);  // no callback runs once it returns
      clock_.restart(BlowLatencyFrames(choice_.period()));
      watch_.restart();
      if (!openAtPeriod()) return;  // silent from now on
    }
  }

  Mixer& mixer_;
  BufferingChoice choice_;  // keeper thread (and set-up)
  DeviceClock clock_;
  UnderrunWatch watch_;  // audio thread, or the keeper while no callback runs
  SDL_AudioDeviceID device_ = 0;
  std::atomic<int> period_{0};
  std::atomic<std::uint64_t> underruns_{0};
  std::atomic<bool> growWanted_{false};
  std::atomic<bool> stop_{false};
  std::thread keeper_;
};

}  // namespace

int BlowLatencyFrames(int period) { return period + HandOverFrames; }

std::unique_ptr<SoundDevice> OpenSdlSoundDevice(Mixer& mixer, std::int32_t& result) {
  result = SoundNoDriver;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  auto device = std::make_unique<SdlSoundDevice>(mixer, BufferingChoice(FixedSoundPeriod(), StartPeriod()));
  if (!device->open()) return nullptr;  // its destructor leaves the audio subsystem
  result = SoundOk;
  return device;
}

}  // namespace clangor
