#include "installer/package/zlib_streams.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace clangor::outfit {

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib cannot compress the data");
  out.resize(size);
  return out;
}

struct Inflater::State {
  z_stream stream{};
  bool ended = false;
};

Inflater::Inflater() : state_(new State) {
  if (inflateInit(&state_->stream) != Z_OK) {
    delete state_;
    throw std::runtime_error("zlib cannot start inflating");
  }
}

Inflater::~Inflater() {
  inflateEnd(&state_->stream);
  delete state_;
}

Inflater::Result Inflater::Feed(std::span<const std::uint8_t>& input, std::vector<std::uint8_t>& output,
                                std::size_t room) {
  if (state_->ended) return input.empty() ? Result::End : Result::Broken;
  z_stream& z = state_->stream;
  std::size_t start = output.size();
  output.resize(start + room);
  z.next_in = const_cast<Bytef*>(input.data());
  z.avail_in = static_cast<uInt>(input.size());
  z.next_out = output.data() + start;
  z.avail_out = static_cast<uInt>(room);
  int rc = Z_OK;
  while (rc == Z_OK && z.avail_out > 0 && z.avail_in > 0) rc = inflate(&z, Z_NO_FLUSH);
  if (rc == Z_OK && z.avail_out > 0 && z.avail_in == 0) rc = inflate(&z, Z_NO_FLUSH);  // flush what is pending
  output.resize(output.size() - z.avail_out);
  input = input.subspan(input.size() - z.avail_in);
  if (rc == Z_STREAM_END) {
    state_->ended = true;
    return input.empty() ? Result::End : Result::Broken;  // bytes after the end do not belong to it
  }
  if (rc == Z_OK || rc == Z_BUF_ERROR) return Result::More;
  return Result::Broken;
}

std::optional<std::vector<std::uint8_t>> InflateBounded(std::span<const std::uint8_t> stream, std::size_t limit) {
  Inflater inflater;
  std::vector<std::uint8_t> out;
  for (;;) {
    std::size_t room = std::min<std::size_t>(65536, limit + 1 - out.size());
    if (room == 0) return std::nullopt;  // it would grow past its bound
    std::size_t before = out.size();
    std::size_t inputBefore = stream.size();
    Inflater::Result r = inflater.Feed(stream, out, room);
    if (r == Inflater::Result::Broken) return std::nullopt;
    if (r == Inflater::Result::End) return out.size() <= limit ? std::optional(std::move(out)) : std::nullopt;
    if (out.size() == before && stream.size() == inputBefore) return std::nullopt;  // cut short
  }
}

std::uint32_t Crc32(std::span<const std::uint8_t> data, std::uint32_t crc) {
  return static_cast<std::uint32_t>(crc32(crc, data.data(), static_cast<uInt>(data.size())));
}

}  // namespace clangor::outfit
