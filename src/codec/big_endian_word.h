// Eight bytes as a word, most significant byte first: the packed stream's
// bit order, loaded and stored whole.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace qv::codec {

inline std::uint64_t BigEndianWord(const std::uint8_t* bytes) {
  std::uint64_t eight;
  std::memcpy(&eight, bytes, sizeof eight);
  if constexpr (std::endian::native == std::endian::little) eight = __builtin_bswap64(eight);
  return eight;
}

inline void StoreBigEndianWord(std::uint64_t word, std::uint8_t* bytes) {
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  std::memcpy(bytes, &word, sizeof word);
}

}  // namespace qv::codec
