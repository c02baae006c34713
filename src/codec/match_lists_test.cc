// The window's matches as the optimal parse sees them: for every length the
// nearest distance, checked against a search of every earlier position.
#include "codec/match_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "codec/packed_format.h"

namespace qv::codec {
namespace {

std::size_t CommonLength(const std::vector<std::uint8_t>& data, std::size_t a, std::size_t b) {
  std::size_t length = 0;
  while (b + length < data.size() && length < kMaxMatch && data[a + length] == data[b + length])
    ++length;
  return length;
}

TEST(MatchLists, NearestDistanceForEveryLength) {
  // Few byte values: many matches of every length, over several windows.
  std::mt19937 random(1);
  std::vector<std::uint8_t> data;
  while (data.size() < 12000) {
    if (random() % 4 == 0 && data.size() > 300) {
      const std::size_t from = data.size() - 1 - random() % 300;
      for (std::size_t n = random() % 40; n > 0; --n)
        data.push_back(data[from + n % 7]);
    } else {
      data.push_back(static_cast<std::uint8_t>(random() % 8));
    }
  }
  const std::size_t begin = 2000;  // history before it
  MatchLists lists;
  TreeMatchFinder().Find(data, begin, lists);
  ASSERT_EQ(lists.positions(), data.size() - begin);
  for (std::size_t at = begin; at < data.size(); ++at) {
    // The nearest distance for each length, by trying every one.
    std::vector<std::size_t> nearest(kMaxMatch + 1, 0);
    for (std::size_t distance = kWindowSize; distance >= 1; --distance) {
      if (distance > at) continue;
      for (std::size_t l = CommonLength(data, at - distance, at); l >= kMinMatch; --l)
        nearest[l] = distance;
    }
    std::size_t length = kMinMatch;
    for (const MatchStep step : lists.At(at - begin)) {
      for (; length <= step.length; ++length)
        ASSERT_EQ(step.distance, nearest[length]) << at << " " << length;
    }
    if (length <= kMaxMatch && lists.At(at - begin).size() > 0 &&
        lists.At(at - begin).back().length >= TreeMatchFinder::kSkipLength) {
      continue;
    }
    ASSERT_TRUE(length > kMaxMatch || nearest[length] == 0 || at + length > data.size())
        << "missed length " << length << " at " << at;
  }
}

TEST(MatchLists, LongMatchesCoverThePositionsInside) {
  std::vector<std::uint8_t> data(1000, 'x');
  MatchLists lists;
  TreeMatchFinder().Find(data, 0, lists);
  ASSERT_EQ(lists.At(0).size(), 0u);
  ASSERT_EQ(lists.At(1).back().length, kMaxMatch);
  EXPECT_EQ(lists.At(1).back().distance, 1);
  // Inside that match the parse needs nothing more; after it, it looks again.
  for (std::size_t at = 2; at < 1 + kMaxMatch; ++at)
    EXPECT_TRUE(lists.At(at).empty()) << at;
  EXPECT_FALSE(lists.At(1 + kMaxMatch).empty());
  // The last two positions have no room for a match.
  EXPECT_TRUE(lists.At(998).empty());
  EXPECT_TRUE(lists.At(999).empty());
}

}  // namespace
}  // namespace qv::codec
