// The manual control window's state, kept apart from the window: the
// pointer and the client size that the user-interface thread writes, and the
// own bell, the pulling mark and the gauge's marker that the worker writes.
// Each is one atomic word, so neither thread waits for the other: the pull
// the bell takes is read from the pointer at every sub-step of the swing.
//
// Threads: the EngineManualView operations on the worker; SetPointer,
// SetSize and the click on the user-interface thread; the readers anywhere.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "engine/engine_views.h"
#include "views/manual_gauge.h"

namespace clangor {

class TowerWindow;

class ManualControl final : public EngineManualView {
 public:
  struct Hooks {
    std::function<void(int bell)> bellChanged;  // worker: the own bell is now `bell`
    std::function<void()> repaint;              // worker: the gauge moved
  };
  explicit ManualControl(Hooks hooks) : hooks_(std::move(hooks)) {}

  // --- User-interface thread. ---
  void SetEngine(TowerWindow* engine) { engine_ = engine; }
  void SetPointer(int x, int y) { pointer_ = Pack(x, y); }
  void SetSize(int width, int height) { size_ = Pack(width, height); }
  // The left button: takes hold of the own rope (which starts the ringing
  // when nothing is rung), or lets it go. False when no bell is set.
  bool Click();
  // Starts again from the engine's own bell (the window was shown).
  void Refresh();

  // --- EngineManualView (worker thread). ---
  void setOwnBell(int bell) override;
  void setPulling(bool pulling) override { pulling_ = pulling; }
  void update(const Bell& record) override;
  double pullStrength(const Bell& record) override;

  // --- Any thread. ---
  int ownBell() const { return bell_; }
  bool pulling() const { return pulling_; }
  int angle() const { return angle_; }
  int amplitude() const { return amplitude_; }
  int markerY() const { return markerY_; }
  bool showZones() const { return showZones_; }
  ManualGauge gauge() const;
  // The larger of the bell's two stay angles: the top of the gauge.
  static int AmplitudeOf(const Bell& record);

 private:
  static std::uint64_t Pack(int a, int b) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
  }
  static int High(std::uint64_t v) { return static_cast<std::int32_t>(v >> 32); }
  static int Low(std::uint64_t v) { return static_cast<std::int32_t>(v & 0xFFFFFFFFu); }

  Hooks hooks_;
  std::atomic<TowerWindow*> engine_{nullptr};
  std::atomic<std::uint64_t> pointer_{0};  // x, y
  std::atomic<std::uint64_t> size_{0};     // width, height
  std::atomic<int> bell_{-1};
  std::atomic<bool> pulling_{false};
  std::atomic<int> angle_{0};
  std::atomic<int> amplitude_{0};
  std::atomic<int> markerY_{0};
  std::atomic<bool> showZones_{false};
};

}  // namespace clangor
