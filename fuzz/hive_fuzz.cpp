// A hive file read, written and read again.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace clangor::registry;
  const ParsedHive parsed = ParseHiveText(clangor::fuzz::Text(data, size), "HKEY_CURRENT_USER");
  if (!parsed.isHive) return 0;
  const std::string written = WriteHiveText(parsed.data, "HKEY_CURRENT_USER");
  const ParsedHive again = ParseHiveText(written, "HKEY_CURRENT_USER");
  (void)again;
  return 0;
}
