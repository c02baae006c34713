// Package-merge: complete codes within the limit, never dearer than a
// Huffman code, and than today's limiting of one, when the limit binds.
#include "codec/limited_code_lengths.h"

#include <gtest/gtest.h>

#include <functional>
#include <queue>
#include <random>
#include <vector>

#include "codec/huffman_code.h"

namespace qv::codec {
namespace {

struct LimitedCode {
  std::vector<std::uint8_t> lengths;
  int used = 0;
};

LimitedCode Lengths(const std::vector<std::uint32_t>& frequencies, int limit = kMaxCodeLength) {
  LimitedCode code;
  code.lengths.resize(frequencies.size());
  code.used = LimitedCodeLengths(frequencies, limit, code.lengths);
  return code;
}

std::uint64_t Cost(const std::vector<std::uint32_t>& frequencies,
                   const std::vector<std::uint8_t>& lengths) {
  std::uint64_t cost = 0;
  for (std::size_t s = 0; s < frequencies.size(); ++s)
    cost += std::uint64_t{frequencies[s]} * lengths[s];
  return cost;
}

// Kraft's sum scaled by 2^limit: exactly 2^limit for a complete code.
std::uint64_t KraftSum(const std::vector<std::uint8_t>& lengths, int limit) {
  std::uint64_t sum = 0;
  for (const std::uint8_t length : lengths) {
    EXPECT_LE(length, limit);
    if (length != 0) sum += std::uint64_t{1} << (limit - length);
  }
  return sum;
}

// An unlimited Huffman code's cost: the sum of every merge's weight.
std::uint64_t HuffmanCost(const std::vector<std::uint32_t>& frequencies) {
  std::priority_queue<std::uint64_t, std::vector<std::uint64_t>, std::greater<>> queue;
  for (const std::uint32_t f : frequencies) {
    if (f != 0) queue.push(f);
  }
  std::uint64_t cost = 0;
  while (queue.size() > 1) {
    const std::uint64_t a = queue.top();
    queue.pop();
    const std::uint64_t b = queue.top();
    queue.pop();
    cost += a + b;
    queue.push(a + b);
  }
  return cost;
}

TEST(LimitedCodeLengths, FewerThanTwoSymbolsAreSingleSymbolCodes) {
  EXPECT_EQ(Lengths({0, 0, 0}).used, 0);
  const LimitedCode one = Lengths({0, 7, 0});
  EXPECT_EQ(one.used, 1);
  EXPECT_EQ(one.lengths, (std::vector<std::uint8_t>{0, 0, 0}));
  EXPECT_EQ(Lengths({0, 1, 1}).lengths, (std::vector<std::uint8_t>{0, 1, 1}));
}

TEST(LimitedCodeLengths, MatchHuffmanWhereTheLimitDoesNotBind) {
  std::mt19937 random(1);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::uint32_t> frequencies(2 + random() % 509);
    for (auto& f : frequencies)
      f = random() % 3 == 0 ? 0 : 100 + random() % 1000;
    // At least two in use; frequencies this even keep every code short.
    frequencies[0] = frequencies[1] = 100;
    const LimitedCode code = Lengths(frequencies);
    EXPECT_EQ(KraftSum(code.lengths, kMaxCodeLength), 1u << kMaxCodeLength);
    EXPECT_EQ(Cost(frequencies, code.lengths), HuffmanCost(frequencies)) << round;
  }
}

TEST(LimitedCodeLengths, BindingLimitBeatsTodaysLimiting) {
  // Fibonacci frequencies make a Huffman tree as deep as there are symbols.
  std::vector<std::uint32_t> frequencies{1, 1};
  while (frequencies.size() < 24)
    frequencies.push_back(frequencies[frequencies.size() - 1] +
                          frequencies[frequencies.size() - 2]);
  for (const int limit : {5, 8, kMaxCodeLength}) {
    const LimitedCode code = Lengths(frequencies, limit);
    EXPECT_EQ(KraftSum(code.lengths, limit), std::uint64_t{1} << limit) << limit;
  }
  const LimitedCode limited = Lengths(frequencies);
  EXPECT_GT(Cost(frequencies, limited.lengths), HuffmanCost(frequencies));

  std::vector<std::uint16_t> counts(2 * frequencies.size() - 1);
  std::copy(frequencies.begin(), frequencies.end(), counts.begin());
  std::vector<std::uint8_t> todays(frequencies.size());
  std::vector<std::uint16_t> codes(frequencies.size());
  HuffmanCodeBuilder().Build(counts, todays, codes);
  EXPECT_LT(Cost(frequencies, limited.lengths), Cost(frequencies, todays));
}

TEST(LimitedCodeLengths, CanonicalCodesFollowTheLengths) {
  std::vector<std::uint16_t> codes(3);
  CanonicalCodes(std::vector<std::uint8_t>{1, 2, 2}, codes);
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{0b0, 0b10, 0b11}));
  codes.assign(5, 0);
  CanonicalCodes(std::vector<std::uint8_t>{3, 0, 2, 3, 1}, codes);
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{0b110, 0, 0b10, 0b111, 0b0}));
}

}  // namespace
}  // namespace qv::codec
