#include "codec/match_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "codec/codec_test_support.h"
#include "codec/memory_streams.h"

namespace qv::codec {
namespace {

struct Found {
  int length;
  int distance;  // 1 to 4096
};

// Runs the finder over the data and records, for each position, the match
// clipped to the bytes left, as the encoder sees it.
std::vector<Found> FindAll(const std::vector<std::uint8_t>& data) {
  MemoryPackInput input(data);
  auto finder = std::make_unique<MatchFinder>();
  std::uint32_t bytes_read = 0;
  finder->MatchFinderStart(input, bytes_read);
  std::vector<Found> found;
  for (std::size_t at = 0; at < data.size(); ++at) {
    if (at > 0) finder->MatchFinderAdvance();
    finder->ClipMatchLength();
    const int distance = (finder->position() - finder->match_position()) & 4095;
    found.push_back({finder->match_length(), distance == 0 ? 4096 : distance});
  }
  EXPECT_EQ(bytes_read, data.size());
  return found;
}

// The longest earlier match within `window` bytes back, capped at 256 and at
// the bytes left.
int LongestMatch(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t window) {
  const std::size_t cap = std::min<std::size_t>(256, data.size() - at);
  std::size_t best = 0;
  for (std::size_t distance = 1; distance <= std::min(at, window); ++distance) {
    std::size_t length = 0;
    while (length < cap && data[at + length] == data[at - distance + length])
      ++length;
    best = std::max(best, length);
  }
  return static_cast<int>(best);
}

std::vector<std::uint8_t> SmallAlphabet(std::size_t size, unsigned seed) {
  std::vector<std::uint8_t> data = RandomBytes(size, seed);
  for (auto& byte : data)
    byte = static_cast<std::uint8_t>('a' + byte % 3);
  return data;
}

TEST(MatchFinder, FirstPositionHasNoMatch) {
  EXPECT_EQ(FindAll(std::vector<std::uint8_t>(10, 'x')).front().length, 1);
}

// Words of a small vocabulary with a space after each: text whose tree is
// deep and whose internal nodes are split and removed all the time, so that
// the child chains are rewired at every step.
std::vector<std::uint8_t> MadeUpWords(std::size_t size, unsigned seed) {
  const std::vector<std::uint8_t> choices = RandomBytes(size, seed);
  std::vector<std::vector<std::uint8_t>> vocabulary;
  for (unsigned word = 0; word < 40; ++word) {
    const std::vector<std::uint8_t> letters = RandomBytes(2 + word % 8, seed + 1 + word);
    auto& spelled = vocabulary.emplace_back();
    for (const std::uint8_t letter : letters)
      spelled.push_back(static_cast<std::uint8_t>('a' + letter % 6));
    spelled.push_back(' ');
  }
  std::vector<std::uint8_t> data;
  for (std::size_t i = 0; data.size() < size; ++i) {
    const auto& word = vocabulary[choices[i] % vocabulary.size()];
    data.insert(data.end(), word.begin(), word.end());
  }
  data.resize(size);
  return data;
}

TEST(MatchFinder, FindsTheLongestGenuineMatchAcrossASlide) {
  // 6000 positions: the buffer slides after the first 4096; the words slide
  // it twice.
  for (const auto& data : {SmallAlphabet(6000, 1), RandomBytes(6000, 2), MadeUpWords(10000, 3)}) {
    const std::vector<Found> found = FindAll(data);
    for (std::size_t at = 0; at < data.size(); ++at) {
      const auto [length, distance] = found[at];
      const int longest = LongestMatch(data, at, 4095);
      if (longest < 3) {
        ASSERT_LT(length, 3) << at;
        continue;
      }
      // A candidate exactly 4096 back may still be found through a node.
      ASSERT_GE(length, longest) << at;
      ASSERT_LE(length, LongestMatch(data, at, 4096)) << at;
      ASSERT_LE(static_cast<std::size_t>(distance), at) << at;
      ASSERT_TRUE(
          std::equal(data.begin() + at, data.begin() + at + length, data.begin() + (at - distance)))
          << at;
    }
  }
}

// Every answer of the finder, in order, folded into one number: two finders
// that keep the same tree give the same digest, whatever they look children
// up with.
std::uint64_t Digest(const std::vector<Found>& found) {
  std::uint64_t digest = 0xCBF29CE484222325u;
  for (const auto [length, distance] : found) {
    for (const int value : {length, distance})
      digest = (digest ^ static_cast<std::uint64_t>(value)) * 0x100000001B3u;
  }
  return digest;
}

// Text, runs of one byte (leaves replaced by identical strings), noise, a
// repeated block and a small alphabet, one after another across many slides.
std::vector<std::uint8_t> Mixed() {
  std::vector<std::uint8_t> data = MadeUpWords(20000, 5);
  const auto append = [&data](const std::vector<std::uint8_t>& more) {
    data.insert(data.end(), more.begin(), more.end());
  };
  append(std::vector<std::uint8_t>(700, 'z'));
  append(RandomBytes(5000, 6));
  append(SmallAlphabet(10000, 7));
  const std::vector<std::uint8_t> block = RandomBytes(4095, 8);
  append(block);
  append(block);
  append(std::vector<std::uint8_t>(300, 'z'));
  append(::qv::codec::Words(30000, 9));
  return data;
}

// The digests were taken from the finder that walked hash chains; any faster
// way of finding children has to keep every match, ties included.
TEST(MatchFinder, AnswersStayThoseOfTheChainWalkingFinder) {
  EXPECT_EQ(Digest(FindAll(Mixed())), 13733629769632779004u);
  EXPECT_EQ(Digest(FindAll(::qv::codec::Words(50000, 11))), 2275767999858599196u);
  EXPECT_EQ(Digest(FindAll(SmallAlphabet(20000, 12))), 10653421326461996013u);
}

TEST(MatchFinder, RepeatedBlockOf4095IsFoundAtThatDistance) {
  const std::vector<std::uint8_t> block = RandomBytes(4095, 3);
  std::vector<std::uint8_t> data;
  for (int i = 0; i < 4; ++i)
    data.insert(data.end(), block.begin(), block.end());
  const std::vector<Found> found = FindAll(data);
  for (std::size_t at = 4095; at + 3 <= data.size(); ++at) {
    ASSERT_EQ(found[at].distance, 4095) << at;
    ASSERT_EQ(found[at].length, std::min<int>(256, static_cast<int>(data.size() - at))) << at;
  }
}

TEST(MatchFinder, RunOfOneByteMatchesTheByteBefore) {
  const std::vector<Found> found = FindAll(std::vector<std::uint8_t>(9000, 0x55));
  for (std::size_t at = 1; at + 3 <= found.size(); ++at) {
    ASSERT_EQ(found[at].distance, 1) << at;
    ASSERT_EQ(found[at].length, std::min<int>(256, static_cast<int>(found.size() - at))) << at;
  }
}

}  // namespace
}  // namespace qv::codec
