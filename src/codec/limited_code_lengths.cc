#include "codec/limited_code_lengths.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "codec/packed_format.h"

namespace qv::codec {
namespace {

// An item of one level's list: a leaf (a symbol) or a package of the two
// items of the level below at `pair` and `pair + 1`.
struct Item {
  std::uint64_t weight;
  int leaf;  // the symbol, or -1 for a package
};

}  // namespace

int LimitedCodeLengths(std::span<const std::uint32_t> frequencies, int limit,
                       std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), 0);
  std::vector<int> leaves;
  for (std::size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) leaves.push_back(static_cast<int>(s));
  }
  const int used = static_cast<int>(leaves.size());
  if (used < 2) return used;
  std::stable_sort(leaves.begin(), leaves.end(),
                   [&](int a, int b) { return frequencies[a] < frequencies[b]; });

  // levels[0] is the deepest list (leaves only); each level above merges
  // the leaves with the packages of pairs from the level below.
  std::vector<std::vector<Item>> levels(static_cast<std::size_t>(limit));
  for (int leaf : leaves)
    levels[0].push_back({frequencies[leaf], leaf});
  for (std::size_t level = 1; level < levels.size(); ++level) {
    const std::vector<Item>& below = levels[level - 1];
    std::vector<Item>& list = levels[level];
    std::size_t leaf = 0;
    std::size_t pair = 0;
    while (leaf < leaves.size() || pair + 1 < below.size()) {
      const bool take_pair = pair + 1 < below.size() &&
                             (leaf == leaves.size() || below[pair].weight + below[pair + 1].weight <
                                                           frequencies[leaves[leaf]]);
      if (take_pair) {
        list.push_back({below[pair].weight + below[pair + 1].weight, -1});
        pair += 2;
      } else {
        list.push_back({frequencies[leaves[leaf]], leaves[leaf]});
        ++leaf;
      }
    }
  }
  // The cheapest 2n - 2 items of the top level; each leaf among the chosen
  // items of any level adds one to its symbol's length, and each chosen
  // package chooses the first two unchosen items of the level below.
  std::size_t chosen = 2 * leaves.size() - 2;
  for (std::size_t level = levels.size(); level-- > 0 && chosen > 0;) {
    std::size_t packages = 0;
    for (std::size_t i = 0; i < chosen; ++i) {
      const Item& item = levels[level][i];
      if (item.leaf < 0) {
        ++packages;
      } else {
        ++lengths[static_cast<std::size_t>(item.leaf)];
      }
    }
    chosen = 2 * packages;
  }
  return used;
}

void CanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  std::array<unsigned, kMaxCodeLength + 2> next{};
  for (const std::uint8_t length : lengths)
    ++next[length];
  next[0] = 0;
  unsigned code = 0;
  std::array<unsigned, kMaxCodeLength + 2> count = next;
  for (int length = 1; length <= kMaxCodeLength; ++length) {
    code = (code + count[static_cast<std::size_t>(length) - 1]) << 1;
    next[static_cast<std::size_t>(length)] = code;
  }
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] != 0) codes[s] = static_cast<std::uint16_t>(next[lengths[s]]++);
  }
}

}  // namespace qv::codec
