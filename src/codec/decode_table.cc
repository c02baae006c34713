#include "codec/decode_table.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace qv::codec {
namespace {

// Sets `count` entries (a power of two) to `entry`. Short codes cover long
// stretches of the table, so 16-bit entries go in by words.
template <class Entry>
void FillEntries(Entry* first, std::size_t count, Entry entry) {
  if constexpr (sizeof(Entry) == 2) {
    if (count < 4) {
      first[0] = entry;
      first[count - 1] = entry;
      return;
    }
    const std::uint64_t four = entry * 0x0001'0001'0001'0001ull;
    if (count == 4) {
      std::memcpy(first, &four, sizeof four);
      return;
    }
    for (std::size_t i = 0; i < count; i += 8) {
      std::memcpy(first + i, &four, sizeof four);
      std::memcpy(first + i + 4, &four, sizeof four);
    }
  } else {
    // Larger entries go in as whole words too: a struct copy may take a
    // store per field.
    static_assert(sizeof(Entry) == sizeof(std::uint64_t) && std::is_trivially_copyable_v<Entry>);
    std::uint64_t word;
    std::memcpy(&word, &entry, sizeof word);
    for (std::size_t i = 0; i < count; ++i)
      std::memcpy(static_cast<void*>(first + i), &word, sizeof word);
  }
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

  // Entries of the longer codes start empty and take their tree nodes below.
  std::fill(direct_.begin() + (next[kDirectBits + 1] >> kDropBits), direct_.end(), Entry{});
  int nodes = 0;
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    const int length = lengths[symbol];
    if (length == 0) continue;
    const std::uint32_t code = next[length];
    next[length] += 1u << (kMaxCodeLength - length);
    const Entry entry = Coding::Leaf(static_cast<unsigned>(symbol), length);
    if (length <= kDirectBits) {
      FillEntries(&direct_[code >> kDropBits], std::size_t{1} << (kDirectBits - length), entry);
      continue;
    }
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
    *slot = entry;
  }
  return true;
}

template class DecodeTable<12, kLiteralLengthSymbols>;
template class DecodeTable<8, kCodeLengthSymbols>;
template class DecodeTable<8, kDistanceClasses, DistanceCoding>;

}  // namespace qv::codec
