// The optimal encoder's parse: the cheapest sequence of literals and matches
// under a model of what each symbol costs, found by dynamic programming
// forward over the positions, each reached at the least cost known.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "codec/block_statistics.h"
#include "codec/match_lists.h"
#include "codec/packed_format.h"

namespace qv::codec {

// Bits per symbol, from the counts of an earlier parse.
struct SymbolCosts {
  std::array<float, kLiteralLengthSymbols> literal_length{};
  std::array<float, kDistanceClasses> distance{};  // a class's code and extra bits

  static SymbolCosts From(const BlockStatistics& statistics);
};

// The positions data[begin, end) of a segment whose match lists begin at
// `origin`.
struct ParseRange {
  std::span<const std::uint8_t> data;
  const MatchLists& lists;
  std::size_t origin;
  std::size_t begin;
  std::size_t end;

  // Position `at`'s steps.
  std::span<const MatchStep> Steps(std::size_t at) const { return lists.At(at - origin); }
};

class CheapestParse {
 public:
  // Takes the longest match wherever there is one: the first model's counts.
  static void Greedy(const ParseRange& range, std::vector<LzCode>& codes);

  // Replaces `codes` with the cheapest parse of the range under `costs`.
  void Run(const ParseRange& range, const SymbolCosts& costs, std::vector<LzCode>& codes);

  std::size_t memory_bytes() const {
    return cost_.capacity() * sizeof(double) + reached_by_.capacity() * sizeof(LzCode);
  }

 private:
  std::vector<double> cost_;        // of reaching each position
  std::vector<LzCode> reached_by_;  // the code that ends there on that path
};

}  // namespace qv::codec
