#include "codec/decode_table.h"

#include <algorithm>
#include <cstring>

namespace qv::codec {
namespace {

// Sets `count` entries (a power of two) to `entry`, four at a time when there
// are four or more: short codes cover long stretches of the table.
void FillEntries(std::uint16_t* first, std::size_t count, std::uint16_t entry) {
  if (count < 4) {
    first[0] = entry;
    first[count - 1] = entry;
    return;
  }
  const std::uint64_t four = entry * 0x0001'0001'0001'0001ull;
  for (std::size_t i = 0; i < count; i += 4)
    std::memcpy(first + i, &four, sizeof four);
}

}  // namespace

template <int kDirectBits, int kSymbols>
bool DecodeTable<kDirectBits, kSymbols>::Build(std::span<const std::uint8_t> lengths) {
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
  std::fill(direct_.begin() + (next[kDirectBits + 1] >> kDropBits), direct_.end(), 0);
  int nodes = 0;
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    const int length = lengths[symbol];
    if (length == 0) continue;
    const std::uint32_t code = next[length];
    next[length] += 1u << (kMaxCodeLength - length);
    const auto entry = static_cast<std::uint16_t>(symbol << kSymbolShift | length);
    if (length <= kDirectBits) {
      FillEntries(&direct_[code >> kDropBits], std::size_t{1} << (kDirectBits - length), entry);
      continue;
    }
    std::uint16_t* slot = &direct_[code >> kDropBits];
    for (int bit = kDirectBits; bit < length; ++bit) {
      if (*slot == 0) {
        if (nodes == kMaxNodes) return false;
        left_[nodes] = right_[nodes] = 0;
        *slot = static_cast<std::uint16_t>(kNodeFlag | nodes++);
      }
      const unsigned node = *slot & ~kNodeFlag;
      slot = ((code >> (kMaxCodeLength - 1 - bit)) & 1u) ? &right_[node] : &left_[node];
    }
    *slot = entry;
  }
  return true;
}

template class DecodeTable<12, kLiteralLengthSymbols>;
template class DecodeTable<8, kCodeLengthSymbols>;

}  // namespace qv::codec
