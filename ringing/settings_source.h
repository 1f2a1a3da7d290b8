// The settings the ringing model reads and writes, addressed as the settings
// store addresses them: integer settings and per-tower integers by index.
// The settings store implements this; tests use an in-memory one.
#pragma once

namespace clangor {

namespace setting {
// Integer settings (index into the store's table of 81).
inline constexpr int ActionAtRounds = 12;  // 0 keep going, 1 that's all, 2 stand
inline constexpr int KeepGoingCount = 13;
inline constexpr int CallUp = 14;
inline constexpr int MethodLimit = 16;
inline constexpr int CompositionLimit = 17;
inline constexpr int MaxTimeFactor = 18;
inline constexpr int HalfLeadSplicing = 20;
inline constexpr int LoadFromDefaults = 66;
}  // namespace setting

namespace tower_setting {
// Per-tower integers.
inline constexpr int PealMins = 0;
inline constexpr int Clappers = 1;
inline constexpr int WholePullChanges = 2;
inline constexpr int Remember_CWPC = 3;
}  // namespace tower_setting

class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  virtual int GetInt(int index) const = 0;
  virtual void SetInt(int index, int value) = 0;
  virtual int GetTowerInt(int index) const = 0;
};

}  // namespace clangor
