// The package's zlib streams: texts and blocks inflated in memory with a
// bound on what they may grow to, and the standard CRC-32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace clangor::outfit {

// The most a compressed text of the package may inflate to. A text larger
// than this is a zlib bomb, not a setup text.
inline constexpr std::size_t MaxTextSize = 16u << 20;

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data);
inline std::vector<std::uint8_t> Deflate(const std::string& text) {
  return Deflate(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The inflated stream, or nothing when it is not a whole zlib stream or
// would inflate past `limit` bytes.
std::optional<std::vector<std::uint8_t>> InflateBounded(std::span<const std::uint8_t> stream, std::size_t limit);

// Incremental inflation of one stream into chunks (a file of the package).
class Inflater {
 public:
  Inflater();
  ~Inflater();
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  enum class Result { More, End, Broken };
  // Feeds `input` and appends what it inflates to `output`, at most
  // `room` bytes more; with room left over, all the input has been taken.
  // `End` once the stream is complete.
  Result Feed(std::span<const std::uint8_t>& input, std::vector<std::uint8_t>& output, std::size_t room);

 private:
  struct State;
  State* state_;
};

std::uint32_t Crc32(std::span<const std::uint8_t> data, std::uint32_t crc = 0);

}  // namespace clangor::outfit
