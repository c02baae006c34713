#include "codec/block_cuts.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "codec/block_coder.h"
#include "codec/block_plan.h"
#include "codec/encoder.h"

namespace qv::codec {
namespace {

// Blocks shorter than this are not worth their header.
constexpr std::size_t kMinBlockCodes = 256;
// Points tried in each round of the narrowing search.
constexpr std::size_t kProbes = 9;
// Counts are kept at every this many codes, so that a run's counts take
// at most this many steps beyond a subtraction.
constexpr std::size_t kCheckpointStride = 1024;

class CutSearch {
 public:
  CutSearch(std::span<const LzCode> codes, bool limited_lengths)
      : codes_(codes), limited_lengths_(limited_lengths) {
    BlockStatistics running;
    for (std::size_t at = 0; at <= codes.size(); at += kCheckpointStride) {
      checkpoints_.push_back(running);
      running.Add(codes.subspan(at, std::min(kCheckpointStride, codes.size() - at)));
    }
  }

  // Cuts codes [first, last) wherever two blocks cost less than one.
  void Cut(std::size_t first, std::size_t last, std::vector<std::size_t>& cuts) const {
    const std::size_t size = last - first;
    if (size < 2 * kMinBlockCodes) return;
    std::size_t at = first + size / 2;
    if (size <= 2 * kMaxBlockCodes) {
      std::uint64_t split_bits = 0;
      at = BestCut(first, last, split_bits);
      if (size <= kMaxBlockCodes && split_bits >= Bits(first, last)) return;
    }
    Cut(first, at, cuts);
    cuts.push_back(at);
    Cut(at, last, cuts);
  }

 private:
  // The block of codes [first, last) in bits.
  std::uint64_t Bits(std::size_t first, std::size_t last) const {
    BlockStatistics statistics = Counts(last);
    const BlockStatistics before = Counts(first);
    for (std::size_t s = 0; s < statistics.literal_length.size(); ++s)
      statistics.literal_length[s] -= before.literal_length[s];
    for (std::size_t c = 0; c < statistics.distance.size(); ++c)
      statistics.distance[c] -= before.distance[c];
    statistics.codes -= before.codes;
    return BlockPlan(statistics, limited_lengths_).bits();
  }

  // The counts of the codes before `end`.
  BlockStatistics Counts(std::size_t end) const {
    BlockStatistics counts = checkpoints_[end / kCheckpointStride];
    const std::size_t from = end / kCheckpointStride * kCheckpointStride;
    counts.Add(codes_.subspan(from, end - from));
    return counts;
  }

  std::uint64_t SplitBits(std::size_t first, std::size_t at, std::size_t last) const {
    return Bits(first, at) + Bits(at, last);
  }

  // The cut of [first, last) that makes its two blocks cheapest, as far as
  // rounds of probes, each closing in around the best so far, find.
  std::size_t BestCut(std::size_t first, std::size_t last, std::uint64_t& bits) const {
    std::size_t low = first + kMinBlockCodes;
    std::size_t high = last - kMinBlockCodes;
    // Both blocks must stay within the code count.
    if (last - first > kMaxBlockCodes) {
      low = std::max(low, last - kMaxBlockCodes);
      high = std::min(high, first + kMaxBlockCodes);
    }
    std::size_t best = low;
    bits = UINT64_MAX;
    for (;;) {
      // Both ends are probed too: the best cut may lie on either.
      const std::size_t step = std::max<std::size_t>(1, (high - low) / (kProbes + 1));
      for (std::size_t at = low; at <= high; at += step) {
        if (const std::uint64_t probe_bits = SplitBits(first, at, last); probe_bits < bits) {
          bits = probe_bits;
          best = at;
        }
      }
      if (step == 1) break;
      low = std::max(low, best - std::min(best, step));
      high = std::min(high, best + step);
    }
    return best;
  }

  std::span<const LzCode> codes_;
  bool limited_lengths_;
  std::vector<BlockStatistics> checkpoints_;
};

}  // namespace

std::vector<std::size_t> ChooseBlockCuts(std::span<const LzCode> codes, bool limited_lengths) {
  if (codes.empty()) return {};
  std::vector<std::size_t> cuts{0};
  CutSearch(codes, limited_lengths).Cut(0, codes.size(), cuts);
  return cuts;
}

std::vector<std::size_t> StagingCuts(std::span<const LzCode> codes) {
  std::vector<std::size_t> cuts;
  std::size_t fill = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i % 8 == 0) {
      // A group of eight codes begins: a flag byte, and a cut when a whole
      // group might not fit.
      if (i == 0 || fill >= Encoder::kStagingSize - (BlockCoder::kGroupBytes - 1)) {
        cuts.push_back(i);
        fill = 0;
      }
      ++fill;
    }
    fill += codes[i].is_match() ? 3 : 1;
  }
  return cuts;
}

}  // namespace qv::codec
