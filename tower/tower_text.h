// The syntax shared by the tower's text files (tower.txt, control.txt and the
// sound sets): lines of at most 299 characters, sections under a "[...]"
// header that must match exactly, key=value bodies that end at an empty line,
// and numbers read as the C library reads them.
#pragma once

#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace clangor {

// Removes leading and trailing spaces and turns each inner run of spaces into
// one. Only the space counts as a blank; tabs are kept.
std::string TidyText(std::string_view text);

// The leading decimal integer after optional blanks and sign, as atoi reads
// it; 0 when there is none. Values beyond 32 bits are held at the limit.
int ReadInt(std::string_view text);
// ReadInt held within [low, high], so that arithmetic on it cannot overflow.
int ReadIntIn(std::string_view text, int low, int high);
// The leading real number after optional blanks, as atof reads it; 0 when
// there is none or it is not finite.
double ReadReal(std::string_view text);

struct KeyValue {
  std::string key;    // tidied
  std::string value;  // tidied
  std::string rawKey; // the text before "=", as written
};
// Splits a body line at its first "="; none when the line has no "=".
std::optional<KeyValue> SplitKeyValue(std::string_view line);

class TowerTextReader {
 public:
  static constexpr std::size_t MaxLineLength = 299;

  explicit TowerTextReader(const std::string& path);

  // The next line without its line break. False at the end of the file, after
  // an over-long line, or once the reading has been ended.
  bool NextLine(std::string& line);
  // Skips to the next line starting with "["; true when it equals `header`.
  // A different header ends the reading of the file.
  bool FindSection(std::string_view header);
  // Skips to the next line starting with "[" and gives it. False at the end.
  bool NextHeader(std::string& line);
  // The next line of the current section's body: false at an empty line or
  // at the end of the file.
  bool NextBodyLine(std::string& line);

  void End() { ended_ = true; }

 private:
  std::ifstream in_;
  bool ended_ = false;
};

}  // namespace clangor
