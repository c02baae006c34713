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

// Huffman's lengths by the two-queue method over leaves sorted by weight;
// returns the longest.
int HuffmanLengths(std::span<const std::uint32_t> frequencies, std::span<const int> leaves,
                   std::span<std::uint8_t> lengths) {
  const std::size_t n = leaves.size();
  // Nodes 0..n-1 are the leaves in order, n.. the internal nodes as made.
  std::array<std::uint64_t, 2 * kLiteralLengthSymbols> weight{};
  std::array<std::uint16_t, 2 * kLiteralLengthSymbols> parent{};
  for (std::size_t i = 0; i < n; ++i)
    weight[i] = frequencies[static_cast<std::size_t>(leaves[i])];
  std::size_t next_leaf = 0;
  std::size_t next_node = n;
  const auto take = [&](std::size_t made) {
    if (next_leaf < n && (next_node == made || weight[next_leaf] <= weight[next_node])) {
      return next_leaf++;
    }
    return next_node++;
  };
  for (std::size_t made = n; made < 2 * n - 1; ++made) {
    const std::size_t a = take(made);
    const std::size_t b = take(made);
    weight[made] = weight[a] + weight[b];
    parent[a] = parent[b] = static_cast<std::uint16_t>(made);
  }
  // Depths from the root down: every parent was made after its children.
  std::array<std::uint8_t, 2 * kLiteralLengthSymbols> depth{};
  int longest = 0;
  for (std::size_t node = 2 * n - 2; node-- > 0;) {
    depth[node] = static_cast<std::uint8_t>(std::min(depth[parent[node]] + 1, 255));
    if (node < n) {
      lengths[static_cast<std::size_t>(leaves[node])] = depth[node];
      longest = std::max<int>(longest, depth[node]);
    }
  }
  return longest;
}

// Package-merge, for when Huffman's code is too deep.
void PackageMergeLengths(std::span<const std::uint32_t> frequencies, std::span<const int> leaves,
                         int limit, std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), 0);
  // levels[0] is the deepest list (leaves only); each level above merges
  // the leaves with the packages of pairs from the level below.
  std::vector<std::vector<Item>> levels(static_cast<std::size_t>(limit));
  for (int leaf : leaves)
    levels[0].push_back({frequencies[static_cast<std::size_t>(leaf)], leaf});
  for (std::size_t level = 1; level < levels.size(); ++level) {
    const std::vector<Item>& below = levels[level - 1];
    std::vector<Item>& list = levels[level];
    std::size_t leaf = 0;
    std::size_t pair = 0;
    while (leaf < leaves.size() || pair + 1 < below.size()) {
      const bool take_pair = pair + 1 < below.size() &&
                             (leaf == leaves.size() ||
                              below[pair].weight + below[pair + 1].weight < levels[0][leaf].weight);
      if (take_pair) {
        list.push_back({below[pair].weight + below[pair + 1].weight, -1});
        pair += 2;
      } else {
        list.push_back(levels[0][leaf]);
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
}

}  // namespace

int LimitedCodeLengths(std::span<const std::uint32_t> frequencies, int limit,
                       std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), 0);
  std::array<int, kLiteralLengthSymbols> leaf_array{};
  std::size_t used = 0;
  for (std::size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) leaf_array[used++] = static_cast<int>(s);
  }
  if (used < 2) return static_cast<int>(used);
  const std::span<int> leaves(leaf_array.data(), used);
  std::sort(leaves.begin(), leaves.end(), [&](int a, int b) {
    const auto fa = frequencies[static_cast<std::size_t>(a)];
    const auto fb = frequencies[static_cast<std::size_t>(b)];
    return fa != fb ? fa < fb : a < b;
  });
  // Huffman's code is the cheapest of all; only when it is too deep does
  // the limit cost anything.
  if (HuffmanLengths(frequencies, leaves, lengths) > limit) {
    PackageMergeLengths(frequencies, leaves, limit, lengths);
  }
  return static_cast<int>(used);
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
