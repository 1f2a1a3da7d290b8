// The library's compositions.txt read and written again, and read again.
#include <sstream>

#include "fuzz/fuzz_input.h"
#include "library/library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  clangor::Library library;
  std::istringstream in(clangor::fuzz::Text(data, size));
  library.ReadCompositions(in);
  const std::string written = library.CompositionsText();
  clangor::Library again;
  std::istringstream back(written);
  again.ReadCompositions(back);
  return 0;
}
