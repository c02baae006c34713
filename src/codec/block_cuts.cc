#include "codec/block_cuts.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "codec/block_plan.h"

namespace qv::codec {
namespace {

// Blocks shorter than this are not worth their header.
constexpr std::size_t kMinBlockCodes = 256;
// Points tried in each round of the narrowing search.
constexpr std::size_t kProbes = 9;

std::uint64_t Bits(std::span<const LzCode> codes) {
  BlockStatistics statistics;
  statistics.Add(codes);
  return BlockPlan(statistics).bits();
}

std::uint64_t SplitBits(std::span<const LzCode> codes, std::size_t at) {
  return Bits(codes.first(at)) + Bits(codes.subspan(at));
}

// The cut of `codes` that makes the two blocks cheapest, as far as rounds
// of probes, each round closing in around the best probe of the last, find.
std::size_t BestCut(std::span<const LzCode> codes, std::uint64_t& bits) {
  std::size_t low = kMinBlockCodes;
  std::size_t high = codes.size() - kMinBlockCodes;
  // Both blocks must stay within the code count.
  if (codes.size() > kMaxBlockCodes) {
    low = std::max(low, codes.size() - kMaxBlockCodes);
    high = std::min(high, kMaxBlockCodes);
  }
  std::size_t best = (low + high) / 2;
  bits = SplitBits(codes, best);
  while (high - low > kProbes) {
    const std::size_t step = (high - low) / (kProbes + 1);
    std::size_t round_best = low + step;
    std::uint64_t round_bits = UINT64_MAX;
    for (std::size_t at = low + step; at < high; at += step) {
      if (const std::uint64_t probe_bits = SplitBits(codes, at); probe_bits < round_bits) {
        round_bits = probe_bits;
        round_best = at;
      }
    }
    if (round_bits < bits) {
      bits = round_bits;
      best = round_best;
    }
    low = std::max(low, round_best - step);
    high = std::min(high, round_best + step);
    if (step == 1) break;
  }
  return best;
}

void Cut(std::span<const LzCode> codes, std::size_t offset, std::vector<std::size_t>& cuts) {
  if (codes.size() < 2 * kMinBlockCodes) return;
  std::size_t at = codes.size() / 2;
  if (codes.size() <= 2 * kMaxBlockCodes) {
    std::uint64_t split_bits = 0;
    at = BestCut(codes, split_bits);
    if (codes.size() <= kMaxBlockCodes && split_bits >= Bits(codes)) return;
  }
  Cut(codes.first(at), offset, cuts);
  cuts.push_back(offset + at);
  Cut(codes.subspan(at), offset + at, cuts);
}

}  // namespace

std::vector<std::size_t> ChooseBlockCuts(std::span<const LzCode> codes) {
  if (codes.empty()) return {};
  std::vector<std::size_t> cuts{0};
  Cut(codes, 0, cuts);
  return cuts;
}

}  // namespace qv::codec
