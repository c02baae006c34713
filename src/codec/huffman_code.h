// The encoder's Huffman code construction: lengths limited to 16 bits and
// canonical codes from the frequencies of one block's symbols. The order in
// which symbols leave the heap decides which of equally frequent symbols get
// the longer codes, so the steps are kept exactly; the stream depends on it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/packed_format.h"

namespace qv::codec {

class HuffmanCodeBuilder {
 public:
  // Builds the code of the `frequencies` of N symbols (the span holds room
  // for the 2N - 1 nodes of the tree; the builder writes the internal nodes'
  // frequencies behind the symbols'). Fills `lengths` and `codes` (N each)
  // and returns the root: N or more for a real code, or, when fewer than two
  // symbols occur, the one symbol (0 when none), whose length stays 0.
  int Build(std::span<std::uint16_t> frequencies, std::span<std::uint8_t> lengths,
            std::span<std::uint16_t> codes);

 private:
  // A heap entry holds its node's frequency above the node's number, so that
  // a comparison reads the entry alone. Only frequencies are compared: the
  // order of ties is the heap's own.
  using HeapEntry = std::uint32_t;
  static constexpr HeapEntry kAboveAll = ~HeapEntry{0};
  HeapEntry Entry(int node) const {
    return static_cast<HeapEntry>(frequencies_[node]) << 16 | static_cast<HeapEntry>(node);
  }
  static unsigned Frequency(HeapEntry entry) { return entry >> 16; }
  static int Node(HeapEntry entry) { return static_cast<int>(entry & 0xFFFF); }

  void SiftDown(int position);
  void CountLeafDepths(int root);
  void LimitLengths();

  std::span<std::uint16_t> frequencies_;
  int symbols_ = 0;
  int heap_size_ = 0;
  // Positions 1..m, and behind the last one an entry of a frequency that
  // none exceeds, so that a last child without a sibling is chosen without
  // a test.
  std::array<HeapEntry, kLiteralLengthSymbols + 2> heap_{};
  std::array<std::uint16_t, kMaxTreeNodes> left_{};
  std::array<std::uint16_t, kMaxTreeNodes> right_{};
  std::array<std::uint16_t, kLiteralLengthSymbols> leaf_order_{};
  std::array<int, kMaxCodeLength + 1> depth_count_{};
};

}  // namespace qv::codec
