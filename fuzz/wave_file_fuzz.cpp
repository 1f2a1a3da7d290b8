// A WAV file opened and read whole.
#include <cstdio>

#include "fuzz/fuzz_input.h"
#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = clangor::fuzz::AsFile(data, size, ".wav");
  {
    clangor::WaveFile wave;
    if (wave.Open(path) == clangor::WaveFile::Ok) wave.ReadAll();
  }
  std::remove(path.c_str());
  return 0;
}
