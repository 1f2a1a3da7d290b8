#include "sound/pulse_sound_device.h"

#include <pthread.h>
#include <pulse/pulseaudio.h>
#include <sched.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sound/mixer.h"
#include "sound/played_position_clock.h"
#include "sound/sound_result.h"
#include "sound/underrun_watch.h"

namespace clangor {

namespace {

constexpr int FrameBytes = Mixer::OutputChannels * 2;
constexpr std::int64_t ReportEveryNs = 20'000'000;
// Below the sound server's own threads, above everything ordinary.
constexpr int RealTimePriority = 3;

// The thread that fills the server's buffer runs before ordinary work where
// the system allows it (as a desktop's real-time kit allows sound threads):
// a busy machine then cannot keep it from its period. Where it is not
// allowed the thread runs as before and the buffering grows instead.
void AskForRealTime() {
  sched_param param{};
  param.sched_priority = RealTimePriority;
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

double Ms(int frames) { return frames * 1000.0 / Mixer::OutputRate; }

class PulseSoundDevice final : public SoundDevice {
 public:
  PulseSoundDevice(Mixer& mixer, int fixedPeriod)
      : mixer_(mixer), buffering_(fixedPeriod), clock_(Mixer::OutputRate, buffering_.latencyFrames()) {}
  ~PulseSoundDevice() override { close(); }
  PulseSoundDevice(const PulseSoundDevice&) = delete;
  PulseSoundDevice& operator=(const PulseSoundDevice&) = delete;

  bool open();

  std::uint32_t sampleRate() const override { return Mixer::OutputRate; }
  int framesPerPeriod() const override { return period_.load(); }
  std::string name() const override { return "pulse"; }
  std::uint64_t frameForInstant(std::int64_t steadyNs) const override { return clock_.frameForInstant(steadyNs); }
  double playedFrameAt(std::int64_t steadyNs) const override { return clock_.playedFrameAt(steadyNs); }
  double latencyMs() const override { return clock_.latencyMs(); }
  std::uint64_t underruns() const override { return underruns_.load(); }
  std::string description() const override {
    const int period = period_.load();
    char text[384];
    std::snprintf(text, sizeof text,
                  "driver pulse (%s), device %s, period %d frames (%.1f ms%s), buffer %d frames (%.1f ms), "
                  "latency %.1f ms",
                  server_.c_str(), sink_.c_str(), period, Ms(period), buffering_.fixed() ? ", fixed" : "",
                  period * PulsePeriodsHeld, Ms(period * PulsePeriodsHeld), clock_.latencyMs());
    return text;
  }

 private:
  pa_buffer_attr attributes() const {
    const PulseBuffering::Request r = buffering_.request(FrameBytes);
    pa_buffer_attr a{};
    a.maxlength = static_cast<std::uint32_t>(-1);
    a.tlength = r.target;
    a.prebuf = r.startAt;
    a.minreq = r.request;
    a.fragsize = static_cast<std::uint32_t>(-1);
    return a;
  }
  bool connectContext();
  bool connectStream();
  void close();
  void waitFor(pa_operation* operation);

  static void OnContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseSoundDevice*>(self)->loop_, 0);
  }
  static void OnStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulseSoundDevice*>(self)->loop_, 0);
  }
  static void OnServerInfo(pa_context*, const pa_server_info* info, void* userdata) {
    auto* self = static_cast<PulseSoundDevice*>(userdata);
    if (info) self->server_ = std::string(info->server_name) + " " + info->server_version;
    pa_threaded_mainloop_signal(self->loop_, 0);
  }
  // The loop's thread, the loop locked: the server has room for `bytes`.
  static void OnWrite(pa_stream* stream, std::size_t bytes, void* self) {
    static_cast<PulseSoundDevice*>(self)->fill(stream, bytes);
  }
  static void OnUnderflow(pa_stream*, void* self) { static_cast<PulseSoundDevice*>(self)->ranDry(); }

  void fill(pa_stream* stream, std::size_t bytes);
  void takeTimingReport(pa_stream* stream);
  void ranDry();
  void handedOverLate();

  Mixer& mixer_;
  PulseBuffering buffering_;  // the loop's thread (and set-up)
  PlayedPositionClock clock_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  std::string server_ = "?", sink_ = "?";
  // CLANGOR_SOUND_TEE=FILE: the stream as the mixer rendered it, written
  // there too (raw), to be set beside a recording of what the server played.
  std::FILE* tee_ = std::getenv("CLANGOR_SOUND_TEE") ? std::fopen(std::getenv("CLANGOR_SOUND_TEE"), "wb") : nullptr;
  // The mixer's frame that the stream's first byte holds; -1 before.
  double firstFrame_ = -1;
  std::atomic<int> period_{0};
  std::atomic<std::uint64_t> underruns_{0};
  std::int64_t lastReportAsked_ = 0;
  std::int64_t lastReportStamp_ = 0;
  std::uint64_t lateStartsSeen_ = 0;
};

bool PulseSoundDevice::open() {
  loop_ = pa_threaded_mainloop_new();
  if (!loop_) return false;
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Clangor");
  if (!context_ || pa_threaded_mainloop_start(loop_) < 0) return false;
  pa_threaded_mainloop_lock(loop_);
  const bool ok = connectContext() && connectStream();
  pa_threaded_mainloop_unlock(loop_);
  return ok;
}

// The loop locked.
bool PulseSoundDevice::connectContext() {
  pa_context_set_state_callback(context_, OnContextState, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
  for (;;) {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) break;
    if (!PA_CONTEXT_IS_GOOD(state)) return false;
    pa_threaded_mainloop_wait(loop_);
  }
  waitFor(pa_context_get_server_info(context_, OnServerInfo, this));
  return true;
}

// The loop locked.
bool PulseSoundDevice::connectStream() {
  const pa_sample_spec format{PA_SAMPLE_S16LE, Mixer::OutputRate, Mixer::OutputChannels};
  stream_ = pa_stream_new(context_, "Bells", &format, nullptr);
  if (!stream_) return false;
  pa_stream_set_state_callback(stream_, OnStreamState, this);
  pa_stream_set_write_callback(stream_, OnWrite, this);
  pa_stream_set_underflow_callback(stream_, OnUnderflow, this);
  const pa_buffer_attr wanted = attributes();
  // The buffering asked for is the whole latency, the sink's included; the
  // timing reports are kept up to date and carried on between them.
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                    PA_STREAM_AUTO_TIMING_UPDATE);
  if (pa_stream_connect_playback(stream_, nullptr, &wanted, flags, nullptr, nullptr) < 0) return false;
  for (;;) {
    const pa_stream_state_t state = pa_stream_get_state(stream_);
    if (state == PA_STREAM_READY) break;
    if (!PA_STREAM_IS_GOOD(state)) return false;
    pa_threaded_mainloop_wait(loop_);
  }
  if (const char* sink = pa_stream_get_device_name(stream_)) sink_ = sink;
  period_ = buffering_.period();
  return true;
}

void PulseSoundDevice::waitFor(pa_operation* operation) {
  if (!operation) return;
  while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) pa_threaded_mainloop_wait(loop_);
  pa_operation_unref(operation);
}

void PulseSoundDevice::close() {
  if (!loop_) return;
  pa_threaded_mainloop_lock(loop_);
  if (stream_) {
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
  if (context_) {
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }
  pa_threaded_mainloop_unlock(loop_);
  pa_threaded_mainloop_stop(loop_);
  pa_threaded_mainloop_free(loop_);
  loop_ = nullptr;
  if (tee_) std::fclose(tee_);
  tee_ = nullptr;
}

void PulseSoundDevice::fill(pa_stream* stream, std::size_t bytes) {
  if (firstFrame_ < 0) {
    firstFrame_ = static_cast<double>(mixer_.framesRendered());
    AskForRealTime();
  }
  if (mixer_.lateStarts() != lateStartsSeen_) handedOverLate();
  while (bytes >= FrameBytes) {
    void* data = nullptr;
    std::size_t size = bytes;
    if (pa_stream_begin_write(stream, &data, &size) < 0 || !data) return;
    const int frames = static_cast<int>(std::min(size, bytes) / FrameBytes);
    mixer_.render(static_cast<std::int16_t*>(data), frames);
    if (tee_) std::fwrite(data, FrameBytes, static_cast<std::size_t>(frames), tee_);
    pa_stream_write(stream, data, static_cast<std::size_t>(frames) * FrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
    bytes -= static_cast<std::size_t>(frames) * FrameBytes;
  }
  takeTimingReport(stream);
}

// Where the server was playing when it last reported: the frames it had read
// less those still in the sink, at the instant it measured them. Its own
// word, not carried on between reports; a fresh report is asked for every
// few periods.
void PulseSoundDevice::takeTimingReport(pa_stream* stream) {
  const std::int64_t now = SteadyNs();
  if (now - lastReportAsked_ > ReportEveryNs) {
    if (pa_operation* o = pa_stream_update_timing_info(stream, nullptr, nullptr)) pa_operation_unref(o);
    lastReportAsked_ = now;
  }
  const pa_timing_info* info = pa_stream_get_timing_info(stream);
  if (!info || info->read_index_corrupt) return;
  const std::int64_t stamp = static_cast<std::int64_t>(info->timestamp.tv_sec) * 1'000'000'000 +
                             static_cast<std::int64_t>(info->timestamp.tv_usec) * 1000;
  if (stamp == lastReportStamp_) return;
  lastReportStamp_ = stamp;
  // The report's instant is on the wall clock: moved onto the steady clock.
  timespec wall{};
  clock_gettime(CLOCK_REALTIME, &wall);
  const std::int64_t wallNow = static_cast<std::int64_t>(wall.tv_sec) * 1'000'000'000 + wall.tv_nsec;
  const std::int64_t at = stamp - (wallNow - SteadyNs());
  const double frame = firstFrame_ + static_cast<double>(info->read_index / FrameBytes) -
                       static_cast<double>(info->sink_usec) * Mixer::OutputRate / 1e6;
  // The device cannot have played what was never written.
  if (frame > static_cast<double>(mixer_.framesRendered())) return;
  clock_.positionAt(frame, at);
}

// The server played silence for want of sound: hold more from now on.
void PulseSoundDevice::ranDry() {
  underruns_.fetch_add(1);
  if (!buffering_.ranDry()) return;
  const pa_buffer_attr wanted = attributes();
  if (pa_operation* o = pa_stream_set_buffer_attr(stream_, &wanted, nullptr, nullptr)) pa_operation_unref(o);
  period_ = buffering_.period();
  clock_.setLatency(buffering_.latencyFrames());
}

// Blows reached the mixer after their first sample had gone: they sounded
// late. More room from now on; never less again.
void PulseSoundDevice::handedOverLate() {
  lateStartsSeen_ = mixer_.lateStarts();
  if (buffering_.handedOverLate()) clock_.setLatency(buffering_.latencyFrames());
}

}  // namespace

std::unique_ptr<SoundDevice> OpenPulseSoundDevice(Mixer& mixer, std::int32_t& result) {
  result = SoundNoDriver;
  auto device = std::make_unique<PulseSoundDevice>(mixer, FixedSoundPeriod());
  if (!device->open()) return nullptr;
  result = SoundOk;
  return device;
}

}  // namespace clangor
