// The optimal parse's view of the window: for every position, each length at
// which a match first becomes possible, with the nearest distance found for
// it. A binary tree of the window's strings, one per position in the window,
// answers every position in one walk from its root.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv::codec {

struct MatchStep {
  std::uint16_t length;    // 3 to 256
  std::uint16_t distance;  // 1 to 4096
};

// The steps of a run of positions, growing in length within a position: a
// step's distance serves every length above the step before it, up to its own.
class MatchLists {
 public:
  void Clear();
  // Ends the steps of the next position.
  void EndPosition() { ends_.push_back(static_cast<std::uint32_t>(steps_.size())); }
  void Add(MatchStep step) { steps_.push_back(step); }

  std::size_t positions() const { return ends_.size(); }
  std::span<const MatchStep> At(std::size_t position) const {
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return {steps_.data() + begin, ends_[position] - begin};
  }
  std::size_t memory_bytes() const {
    return steps_.capacity() * sizeof(MatchStep) + ends_.capacity() * sizeof(std::uint32_t);
  }

 private:
  std::vector<MatchStep> steps_;
  std::vector<std::uint32_t> ends_;
};

class TreeMatchFinder {
 public:
  // Lists the matches of every position of data[begin, end); the bytes
  // before `begin` are history that matches may reach back into. Matches
  // stop at `end`. A position inside a match at least kSkipLength long
  // gets no steps of its own: the parse takes that match whole.
  void Find(std::span<const std::uint8_t> data, std::size_t begin, MatchLists& lists);

  static constexpr std::size_t kSkipLength = 96;

  std::size_t memory_bytes() const {
    return (heads_.capacity() + smaller_.capacity() + larger_.capacity()) * sizeof(std::int32_t);
  }

 private:
  static constexpr std::size_t kNodes = 8192;  // more than a window, a power of two
  static constexpr int kHashBits = 16;
  static constexpr int kMaxDepth = 48;

  // Makes `position` the tree's root; records its matches when `lists`.
  void Insert(std::span<const std::uint8_t> data, std::size_t position, MatchLists* lists);

  std::vector<std::int32_t> heads_;
  std::vector<std::int32_t> smaller_;
  std::vector<std::int32_t> larger_;
};

}  // namespace qv::codec
