// A control table (control.cld) read from its file.
#include <cstdio>

#include "fuzz/fuzz_input.h"
#include "tower/control_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = clangor::fuzz::AsFile(data, size, ".cld");
  clangor::ReadControlTable(path);
  std::remove(path.c_str());
  return 0;
}
