#include "codec/match_lists.h"

#include <algorithm>

#include "codec/packed_format.h"

namespace qv::codec {
namespace {

constexpr std::int32_t kNone = -1;

unsigned Hash3(const std::uint8_t* bytes, int bits) {
  const std::uint32_t key = bytes[0] | bytes[1] << 8 | bytes[2] << 16;
  return (key * 2654435761u) >> (32 - bits);
}

}  // namespace

void MatchLists::Clear() {
  steps_.clear();
  ends_.clear();
}

void TreeMatchFinder::Find(std::span<const std::uint8_t> data, std::size_t begin,
                           MatchLists& lists) {
  // Taken here, not at construction: an encoder that never packs with the
  // optimal parse carries none of it.
  heads_.assign(std::size_t{1} << kHashBits, kNone);
  smaller_.resize(kNodes);
  larger_.resize(kNodes);
  lists.Clear();
  for (std::size_t at = begin > kWindowSize ? begin - kWindowSize : 0; at < begin; ++at)
    Insert(data, at, nullptr);
  std::size_t covered_until = begin;
  for (std::size_t at = begin; at < data.size(); ++at) {
    const bool covered = at < covered_until;
    Insert(data, at, covered ? nullptr : &lists);
    if (covered) {
      lists.EndPosition();
      continue;
    }
    const std::span<const MatchStep> steps = lists.At(lists.positions() - 1);
    if (!steps.empty() && steps.back().length >= kSkipLength)
      covered_until = at + steps.back().length;
  }
}

void TreeMatchFinder::Insert(std::span<const std::uint8_t> data, std::size_t position,
                             MatchLists* lists) {
  const std::size_t available = std::min<std::size_t>(kMaxMatch, data.size() - position);
  const auto slot = [](std::size_t at) { return at & (kNodes - 1); };
  if (available < kMinMatch) {
    // Too near the end to start a match, or to be worth keeping.
    if (lists != nullptr) lists->EndPosition();
    return;
  }
  const std::uint8_t* const here = data.data() + position;
  std::int32_t& head = heads_[Hash3(here, kHashBits)];
  std::int32_t candidate = head;
  head = static_cast<std::int32_t>(position);

  // The two open edges of the tree as it is rebuilt around the new root:
  // where the next string below it and the next above it are hung.
  std::int32_t* below = &smaller_[slot(position)];
  std::int32_t* above = &larger_[slot(position)];
  std::size_t below_length = 0;
  std::size_t above_length = 0;
  std::size_t best = kMinMatch - 1;
  for (int depth = 0; depth < kMaxDepth && candidate != kNone; ++depth) {
    const auto distance = position - static_cast<std::size_t>(candidate);
    if (distance > kWindowSize) break;
    const std::uint8_t* const there = data.data() + candidate;
    std::size_t length = std::min(below_length, above_length);
    while (length < available && there[length] == here[length])
      ++length;
    if (length > best) {
      best = length;
      if (lists != nullptr) {
        lists->Add({static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(distance)});
      }
    }
    const std::size_t node = slot(static_cast<std::size_t>(candidate));
    if (length == available) {
      // The same string as far as it can be seen: the new one takes its place.
      *below = smaller_[node];
      *above = larger_[node];
      if (lists != nullptr) lists->EndPosition();
      return;
    }
    if (there[length] < here[length]) {
      *below = candidate;
      below = &larger_[node];
      below_length = length;
      candidate = larger_[node];
    } else {
      *above = candidate;
      above = &smaller_[node];
      above_length = length;
      candidate = smaller_[node];
    }
  }
  *below = kNone;
  *above = kNone;
  if (lists != nullptr) lists->EndPosition();
}

}  // namespace qv::codec
