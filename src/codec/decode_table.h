// One canonical Huffman code as the decoder looks symbols up: a direct table
// indexed by the next kDirectBits bits of the stream, and an overflow tree
// for the few codes that are longer. A length list is accepted only when it
// fills the code space exactly, so every table entry and tree slot is reached
// by exactly one code and a walk down the tree always ends at a symbol.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/packed_bit_reader.h"
#include "codec/packed_format.h"

namespace qv::codec {

template <int kDirectBits, int kSymbols>
class DecodeTable {
 public:
  // Builds the code of the lengths (one per symbol, 0 for an absent one,
  // at most kMaxCodeLength). False when the lengths do not fill the code
  // space exactly; the table is then unusable until the next build.
  bool Build(std::span<const std::uint8_t> lengths);

  // Makes every lookup yield `symbol` without taking any bits.
  void SetSingle(unsigned symbol) {
    direct_.fill(static_cast<std::uint16_t>(symbol << kSymbolShift));
  }

  // Decodes the next symbol and consumes its bits. The reader must show at
  // least kMaxCodeLength bits.
  unsigned Decode(BitCursor& reader) const {
    unsigned entry = direct_[reader.Peek(kDirectBits)];
    if (entry & kNodeFlag) {
      std::uint64_t bits = reader.bits << kDirectBits;
      do {
        const unsigned node = entry & ~kNodeFlag;
        entry = (bits >> 63) ? right_[node] : left_[node];
        bits <<= 1;
      } while (entry & kNodeFlag);
    }
    // The length sits in the low bits, where a shift count needs no masking.
    reader.Skip(static_cast<int>(entry & kLengthMask));
    return entry >> kSymbolShift;
  }

 private:
  // An entry is a tree node (flag and node number) or a symbol with the
  // length of its code, so that a lookup needs no second table.
  static constexpr unsigned kNodeFlag = 0x8000;
  static constexpr unsigned kSymbolShift = 6;
  static constexpr unsigned kLengthMask = (1u << kSymbolShift) - 1;
  static_assert(kSymbols <= (kNodeFlag >> kSymbolShift));
  // A complete code's overflow trees hold fewer nodes than it has symbols.
  static constexpr int kMaxNodes = kSymbols - 1;

  std::array<std::uint16_t, 1u << kDirectBits> direct_{};
  std::array<std::uint16_t, kMaxNodes> left_{};
  std::array<std::uint16_t, kMaxNodes> right_{};
};

using LiteralLengthTable = DecodeTable<12, kLiteralLengthSymbols>;
using SmallCodeTable = DecodeTable<8, kCodeLengthSymbols>;

}  // namespace qv::codec
