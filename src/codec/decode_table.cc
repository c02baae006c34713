#include "codec/decode_table.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace qv::codec {
namespace {

// Sets the run of `count` entries (a power of two) at `first` to `entry`, by
// whole 16-byte stores: the entries stored past a short run belong to runs
// that are filled after it, or to the table's padding.
template <class Entry>
[[gnu::always_inline]] inline void FillRun(Entry* first, std::size_t count, Entry entry) {
  static_assert(std::is_trivially_copyable_v<Entry> && 16 % sizeof(Entry) == 0);
  std::array<std::uint8_t, 16> sixteen;
  for (std::size_t at = 0; at < sixteen.size(); at += sizeof entry)
    std::memcpy(sixteen.data() + at, &entry, sizeof entry);
  auto* bytes = reinterpret_cast<std::uint8_t*>(first);
  const std::size_t size = count * sizeof entry;
  std::size_t at = 0;
  do {
    std::memcpy(bytes + at, sixteen.data(), sixteen.size());
    at += sixteen.size();
  } while (at < size);
}

}  // namespace

template <int kDirectBits, int kSymbols, class Coding>
bool DecodeTable<kDirectBits, kSymbols, Coding>::Build(std::span<const std::uint8_t> lengths) {
  constexpr std::uint32_t kCodeSpace = 1u << kMaxCodeLength;
  constexpr int kDropBits = kMaxCodeLength - kDirectBits;

  std::array<std::uint32_t, kMaxCodeLength + 2> count{};
  for (const std::uint8_t length : lengths)
    ++count[length];
  // Left-justified 16-bit first code of each length; a complete code ends
  // exactly at the top of the code space.
  std::array<std::uint32_t, kMaxCodeLength + 2> next{};
  for (int length = 1; length <= kMaxCodeLength; ++length) {
    next[length + 1] = next[length] + (count[length] << (kMaxCodeLength - length));
  }
  if (next[kMaxCodeLength + 1] != kCodeSpace) return false;

  // The symbols in code order: by length, and within a length by symbol.
  // Absent symbols go first, and are passed over.
  std::array<std::uint16_t, kMaxCodeLength + 1> place{};
  for (int length = 1; length <= kMaxCodeLength; ++length)
    place[length] = static_cast<std::uint16_t>(place[length - 1] + count[length - 1]);
  std::array<std::uint16_t, kSymbols> in_order;
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol)
    in_order[place[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);

  // Codes that fit the direct table cover runs of it, one after another.
  const std::uint16_t* symbol = in_order.data() + count[0];
  Entry* run = direct_.data();
  for (int length = 1; length <= kDirectBits; ++length) {
    const std::size_t run_size = std::size_t{1} << (kDirectBits - length);
    for (std::uint32_t i = 0; i < count[length]; ++i, run += run_size)
      FillRun(run, run_size, Coding::Leaf(*symbol++, length));
  }

  // The rest start empty and take their tree nodes.
  std::fill(run, direct_.data() + (1u << kDirectBits), Entry{});
  int nodes = 0;
  for (int length = kDirectBits + 1; length <= kMaxCodeLength; ++length) {
    for (std::uint32_t i = 0; i < count[length]; ++i) {
      const std::uint32_t code = next[length];
      next[length] += 1u << (kMaxCodeLength - length);
      Entry* slot = &direct_[code >> kDropBits];
      for (int bit = kDirectBits; bit < length; ++bit) {
        if (*slot == Entry{}) {
          if (nodes == kMaxNodes) return false;
          left_[nodes] = right_[nodes] = Entry{};
          *slot = Coding::Node(nodes++);
        }
        const int node = Coding::NodeIndex(*slot);
        slot = ((code >> (kMaxCodeLength - 1 - bit)) & 1u) ? &right_[node] : &left_[node];
      }
      *slot = Coding::Leaf(*symbol++, length);
    }
  }
  return true;
}

template class DecodeTable<12, kLiteralLengthSymbols>;
template class DecodeTable<8, kCodeLengthSymbols>;
template class DecodeTable<8, kDistanceClasses, DistanceCoding>;

}  // namespace qv::codec
