// The optimal encoder's codes and their counts. A code is a literal or a
// match as the stream sends it: its literal/length symbol and, for a match,
// its distance value.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/packed_format.h"

namespace qv::codec {

struct LzCode {
  std::uint16_t symbol;          // 0-255 a literal, 256-509 a match
  std::uint16_t distance_value;  // distance - 1, for a match

  static LzCode Literal(std::uint8_t byte) { return {byte, 0}; }
  static LzCode Match(unsigned length, unsigned distance) {
    return {static_cast<std::uint16_t>(length + kMatchSymbolBias),
            static_cast<std::uint16_t>(distance - 1)};
  }
  bool is_match() const { return symbol >= 256; }
  unsigned length() const { return is_match() ? symbol - kMatchSymbolBias : 1; }
};

// The extra bits that follow a distance class's code.
constexpr int DistanceExtraBits(int distance_class) {
  return distance_class > 1 ? distance_class - 1 : 0;
}

struct BlockStatistics {
  std::array<std::uint32_t, kLiteralLengthSymbols> literal_length{};
  std::array<std::uint32_t, kDistanceClasses> distance{};
  std::uint32_t codes = 0;

  void Add(LzCode code) {
    ++literal_length[code.symbol];
    if (code.is_match()) ++distance[static_cast<std::size_t>(DistanceClass(code.distance_value))];
    ++codes;
  }
  void Add(std::span<const LzCode> codes_to_add) {
    for (const LzCode code : codes_to_add)
      Add(code);
  }
};

}  // namespace qv::codec
