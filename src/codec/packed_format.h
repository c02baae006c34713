// The numbers of the packed stream that the decoder and the encoder share:
// a 4096-byte window, matches of 3 to 256 bytes, and static Huffman blocks
// over three alphabets.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qv::codec {

inline constexpr std::size_t kWindowSize = 4096;
inline constexpr unsigned kWindowMask = kWindowSize - 1;
inline constexpr unsigned kMinMatch = 3;
inline constexpr unsigned kMaxMatch = 256;

// Literal/length alphabet: 0-255 literal bytes, 256-509 match lengths 3-256.
inline constexpr int kLiteralLengthSymbols = 510;
inline constexpr int kMatchSymbolBias = 253;  // symbol = length + bias
// Code-length alphabet: 0 one zero, 1 and 2 runs of zeros, 3-18 lengths 1-16.
inline constexpr int kCodeLengthSymbols = 19;
inline constexpr int kDistanceClasses = 13;
// Every Huffman tree of a block fits these many nodes (2N - 1 for N = 510).
inline constexpr int kMaxTreeNodes = 2 * kLiteralLengthSymbols - 1;

inline constexpr int kMaxCodeLength = 16;
inline constexpr int kCodeCountBits = 16;
inline constexpr int kLiteralCountBits = 9;
inline constexpr int kCodeLengthCountBits = 5;
inline constexpr int kDistanceCountBits = 4;
inline constexpr int kZeroRunBits = 2;
inline constexpr int kShortRunBits = 4;  // code-length symbol 1: 3-18 zeros
inline constexpr int kLongRunBits = 9;   // code-length symbol 2: 20-531 zeros
inline constexpr int kShortRunBase = 3;
inline constexpr int kLongRunBase = 20;
inline constexpr int kCodeLengthSymbolBias = 2;  // symbol = length + bias
// A small length list sends lengths of up to 6 in 3 bits; longer ones as a
// run of ones after 7.
inline constexpr int kSmallLengthBits = 3;
inline constexpr unsigned kLongestPlainSmallLength = 6;

// A length list's count: its alphabet less the trailing zero lengths.
inline int ListCount(std::span<const std::uint8_t> lengths) {
  int count = static_cast<int>(lengths.size());
  while (count > 0 && lengths[static_cast<std::size_t>(count) - 1] == 0)
    --count;
  return count;
}

// The class of a distance value (distance - 1): its number of significant
// bits; classes 2 and up carry class - 1 extra bits.
constexpr int DistanceClass(unsigned distance_value) {
  return std::bit_width(distance_value);
}

}  // namespace qv::codec
