#include "codec/cheapest_parse.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv::codec {
namespace {

// Entropy in bits of each symbol; an unseen one costs as much as one seen once.
template <std::size_t N>
void Entropies(const std::array<std::uint32_t, N>& counts, std::span<float> bits) {
  std::uint64_t total = 0;
  for (const std::uint32_t count : counts)
    total += count;
  const double log_total = std::log2(static_cast<double>(std::max<std::uint64_t>(total, 1)));
  for (std::size_t s = 0; s < N; ++s)
    bits[s] = static_cast<float>(log_total - std::log2(std::max<double>(counts[s], 1)));
}

}  // namespace

SymbolCosts SymbolCosts::From(const BlockStatistics& statistics) {
  SymbolCosts costs;
  Entropies(statistics.literal_length, costs.literal_length);
  Entropies(statistics.distance, costs.distance);
  for (int c = 0; c < kDistanceClasses; ++c)
    costs.distance[static_cast<std::size_t>(c)] += static_cast<float>(DistanceExtraBits(c));
  return costs;
}

void CheapestParse::Greedy(const ParseRange& range, std::vector<LzCode>& codes) {
  codes.clear();
  for (std::size_t at = range.begin; at < range.end;) {
    const std::span<const MatchStep> steps = range.Steps(at);
    const std::size_t room = range.end - at;
    // The longest match that fits, with the distance of the first step that reaches it.
    const auto step =
        std::find_if(steps.begin(), steps.end(), [room](MatchStep s) { return s.length >= room; });
    const MatchStep longest = step != steps.end()
                                  ? MatchStep{static_cast<std::uint16_t>(room), step->distance}
                              : steps.empty() ? MatchStep{0, 0}
                                              : steps.back();
    if (longest.length >= kMinMatch) {
      codes.push_back(LzCode::Match(longest.length, longest.distance));
      at += longest.length;
    } else {
      codes.push_back(LzCode::Literal(range.data[at]));
      ++at;
    }
  }
}

void CheapestParse::Run(const ParseRange& range, const SymbolCosts& costs,
                        std::vector<LzCode>& codes) {
  const std::size_t count = range.end - range.begin;
  cost_.assign(count + 1, std::numeric_limits<double>::infinity());
  reached_by_.resize(count + 1);
  cost_[0] = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double here = cost_[i];
    const std::uint8_t byte = range.data[range.begin + i];
    if (const double literal = here + costs.literal_length[byte]; literal < cost_[i + 1]) {
      cost_[i + 1] = literal;
      reached_by_[i + 1] = LzCode::Literal(byte);
    }
    const std::size_t longest = std::min<std::size_t>(kMaxMatch, count - i);
    std::size_t length = kMinMatch;
    for (const MatchStep step : range.Steps(range.begin + i)) {
      if (length > longest) break;
      const double with_distance =
          here + costs.distance[static_cast<std::size_t>(DistanceClass(step.distance - 1u))];
      const std::size_t top = std::min<std::size_t>(step.length, longest);
      for (; length <= top; ++length) {
        const double total = with_distance + costs.literal_length[length + kMatchSymbolBias];
        if (total < cost_[i + length]) {
          cost_[i + length] = total;
          reached_by_[i + length] = LzCode::Match(static_cast<unsigned>(length), step.distance);
        }
      }
    }
  }
  codes.clear();
  for (std::size_t at = count; at > 0; at -= reached_by_[at].length())
    codes.push_back(reached_by_[at]);
  std::reverse(codes.begin(), codes.end());
}

}  // namespace qv::codec
