// The library's call_change_sequences.txt read and written again, and read again.
#include <sstream>

#include "fuzz/fuzz_input.h"
#include "library/library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  clangor::Library library;
  std::istringstream in(clangor::fuzz::Text(data, size));
  library.ReadCallChangeSequences(in);
  const std::string written = library.CallChangeSequencesText();
  clangor::Library again;
  std::istringstream back(written);
  again.ReadCallChangeSequences(back);
  return 0;
}
