// One canonical Huffman code as the decoder looks symbols up: a direct table
// indexed by the next kDirectBits bits of the stream, and an overflow tree
// for the few codes that are longer. A length list is accepted only when it
// fills the code space exactly, so every table entry and tree slot is reached
// by exactly one code and a walk down the tree always ends at a symbol.
//
// What an entry holds for a symbol is the Coding's choice: the symbol and its
// code length, or for the distance code everything a distance takes (its code
// and extra bits together), so that the hot loop needs one lookup.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

#include "codec/packed_bit_reader.h"
#include "codec/packed_format.h"

namespace qv::codec {

// Entries of 16 bits: a symbol with the length of its code, or a tree node.
struct SymbolCoding {
  using Entry = std::uint16_t;
  static constexpr unsigned kNodeFlag = 0x8000;
  static constexpr unsigned kSymbolShift = 6;
  // The length sits in the low bits, where a shift count needs no masking.
  static constexpr unsigned kLengthMask = (1u << kSymbolShift) - 1;
  // Every leaf lies below every node.
  static_assert(kLiteralLengthSymbols <= (kNodeFlag >> kSymbolShift));

  static constexpr Entry Leaf(unsigned symbol, int length) {
    return static_cast<Entry>(symbol << kSymbolShift | static_cast<unsigned>(length));
  }
  static constexpr Entry Node(int node) { return static_cast<Entry>(kNodeFlag | node); }
  static constexpr bool IsNode(Entry entry) { return (entry & kNodeFlag) != 0; }
  static constexpr int NodeIndex(Entry entry) { return entry & ~kNodeFlag; }
  static constexpr unsigned Symbol(Entry entry) { return entry >> kSymbolShift; }
  static constexpr int Length(Entry entry) { return entry & kLengthMask; }
};

// A distance class resolved for the hot loop: its class code and extra bits
// are consumed together, and the distance is the base plus the extra bits.
struct DistanceEntry {
  std::uint16_t distance = 0;  // distance of the class's first value (1 to 2049)
  std::uint16_t extra_mask = 0;
  std::uint8_t bits = 0;  // code length plus extra bits, or kNodeFlag | 0
  // 64 - bits, modulo 64: shifts the code and extra bits down to the low
  // end. A class without extra bits has a mask of 0, so a shift of 0 for
  // one that takes no bits at all does no harm.
  std::uint8_t drop = 0;
  std::uint16_t node = 0;
  friend constexpr bool operator==(const DistanceEntry&, const DistanceEntry&) = default;
};

struct DistanceCoding {
  using Entry = DistanceEntry;
  static constexpr std::uint8_t kNodeFlag = 0x80;

  static constexpr Entry Leaf(unsigned distance_class, int length) {
    const int extra = distance_class < 2 ? 0 : static_cast<int>(distance_class) - 1;
    const unsigned base = distance_class == 0 ? 0 : 1u << (distance_class - 1);
    const int bits = length + extra;
    return {static_cast<std::uint16_t>(base + 1), static_cast<std::uint16_t>((1u << extra) - 1),
            static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>((64 - bits) & 63), 0};
  }
  static constexpr Entry Node(int node) {
    return {0, 0, kNodeFlag, 0, static_cast<std::uint16_t>(node)};
  }
  static constexpr bool IsNode(const Entry& entry) { return (entry.bits & kNodeFlag) != 0; }
  static constexpr int NodeIndex(const Entry& entry) { return entry.node; }
};

template <int kDirectBits, int kSymbols, class Coding = SymbolCoding>
class DecodeTable {
 public:
  using Entry = typename Coding::Entry;
  static constexpr unsigned kSymbolCount = kSymbols;

  // Builds the code of the lengths (one per symbol, 0 for an absent one,
  // at most kMaxCodeLength). False when the lengths do not fill the code
  // space exactly; the table is then unusable until the next build.
  bool Build(std::span<const std::uint8_t> lengths);

  // Makes every lookup yield `symbol` without taking any bits.
  void SetSingle(unsigned symbol) { direct_.fill(Coding::Leaf(symbol, 0)); }

  // Small entries are handed out by value, large ones where they lie, so
  // that the caller reads only the fields it needs.
  using EntryResult = std::conditional_t<sizeof(Entry) <= 4, Entry, const Entry&>;

  // The entry of the code at the top of `bits`, of which at least
  // kMaxCodeLength must be the stream's.
  [[gnu::always_inline]] EntryResult Lookup(std::uint64_t bits) const {
    return Resolve(DirectEntry(bits), bits);
  }
  // Lookup in two steps, for a caller that tells some leaves from nodes
  // without the coding's test: the direct table's entry, which may be a
  // node, and then the leaf it leads to.
  [[gnu::always_inline]] EntryResult DirectEntry(std::uint64_t bits) const {
    return direct_[bits >> (64 - kDirectBits)];
  }
  [[gnu::always_inline]] EntryResult Resolve(EntryResult entry, std::uint64_t bits) const {
    if (Coding::IsNode(entry)) [[unlikely]]
      return Walk(entry, bits);
    return entry;
  }

  // Decodes the next symbol and consumes its bits.
  template <class SameCoding = Coding>
  requires std::is_same_v<SameCoding, SymbolCoding>
  unsigned Decode(BitCursor& reader) const {
    const Entry entry = Lookup(reader.bits);
    reader.Skip(SameCoding::Length(entry));
    return SameCoding::Symbol(entry);
  }

 private:
  // A complete code's overflow trees hold fewer nodes than it has symbols.
  static constexpr int kMaxNodes = kSymbols - 1;

  const Entry& Walk(const Entry& root, std::uint64_t bits) const {
    bits <<= kDirectBits;
    const Entry* entry = &root;
    do {
      const int node = Coding::NodeIndex(*entry);
      entry = (bits >> 63) ? &right_[node] : &left_[node];
      bits <<= 1;
    } while (Coding::IsNode(*entry));
    return *entry;
  }

  // Behind the table, room for the whole 16-byte stores of its last run.
  std::array<Entry, (1u << kDirectBits) + 16 / sizeof(Entry) - 1> direct_{};
  std::array<Entry, kMaxNodes> left_{};
  std::array<Entry, kMaxNodes> right_{};
};

using LiteralLengthTable = DecodeTable<12, kLiteralLengthSymbols>;
using CodeLengthTable = DecodeTable<8, kCodeLengthSymbols>;
using DistanceTable = DecodeTable<8, kDistanceClasses, DistanceCoding>;

}  // namespace qv::codec
