// Prints how long the settings store takes to start and to write its
// settings back at exit, and how fast a hive takes one value after another
// (as the installer writes its shared-file counts), in a temporary registry
// folder (or the one given as the first argument).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/registry.h"
#include "shell/settings_store.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

template <typename F>
double Time(F&& f) {
  auto start = Clock::now();
  f();
  return Ms(start);
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "clangor-settings-bench-XXXXXX").string();
  if (argc <= 1 && !::mkdtemp(folder.data())) return 1;
  ::setenv("CLANGOR_REGISTRY_DIR", folder.c_str(), 1);
  ::setenv("CLANGOR_COMMON_APPDATA", folder.c_str(), 1);
  using clangor::SettingsStore;

  double first = Time([] { SettingsStore store; });
  double unchanged = Time([] { SettingsStore store; });
  double changedAll = Time([] {
    SettingsStore store;
    for (int i = 0; i < clangor::IntSettingCount; ++i) store.SetInt(i, store.GetInt(i) + 1);
  });
  double startOnly = 0;
  {
    auto start = Clock::now();
    auto* store = new SettingsStore;
    startOnly = Ms(start);
    delete store;
  }
  std::printf("settings store, first start and exit (82 values written): %8.2f ms\n", first);
  std::printf("settings store, start and exit, nothing changed:          %8.2f ms\n", unchanged);
  std::printf("settings store, start and exit, every integer changed:    %8.2f ms\n", changedAll);
  std::printf("settings store, start alone (82 values read):             %8.2f ms\n", startOnly);

  namespace reg = clangor::registry;
  reg::Key key;
  reg::Key::Root(reg::HiveId::LocalMachine)
      .Create("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", reg::Access::ReadWrite, key);
  constexpr int Count = 500;
  double writes = Time([&] {
    for (int i = 0; i < Count; ++i) key.SetDword("/opt/Orvanta/Clangor/file" + std::to_string(i), 1);
  });
  double batched = Time([&] {
    reg::HiveBatch batch(key);
    for (int i = 0; i < Count; ++i) key.SetDword("/opt/Orvanta/Clangor/file" + std::to_string(i), 2);
    batch.Commit();
  });
  std::uint32_t v = 0;
  double reads = Time([&] {
    for (int i = 0; i < Count; ++i) key.GetDword("/opt/Orvanta/Clangor/file" + std::to_string(i), v);
  });
  std::printf("hive, %d values written one by one: %8.2f ms (%.3f ms each, the last into a %d-value key)\n", Count,
              writes, writes / Count, Count);
  std::printf("hive, %d values changed in one batch: %8.2f ms\n", Count, batched);
  std::printf("hive, %d values read one by one:    %8.2f ms\n", Count, reads);
  if (argc <= 1) std::filesystem::remove_all(folder);
  return 0;
}
