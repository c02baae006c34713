#include "codec/huffman_code.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace qv::codec {
namespace {

using ::testing::ElementsAre;

struct Code {
  int root;
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
};

Code Build(std::vector<std::uint16_t> frequencies) {
  const std::size_t symbols = frequencies.size();
  frequencies.resize(2 * symbols - 1);
  Code code{0, std::vector<std::uint8_t>(symbols), std::vector<std::uint16_t>(symbols)};
  HuffmanCodeBuilder builder;
  code.root = builder.Build(frequencies, code.lengths, code.codes);
  return code;
}

TEST(HuffmanCode, CanonicalCodesByLengthThenSymbol) {
  // Symbol 1 is the most frequent; 0 and 2 tie and take the longer codes.
  const Code code = Build({1, 5, 1, 0});
  EXPECT_GE(code.root, 4);
  EXPECT_THAT(code.lengths, ElementsAre(2, 1, 2, 0));
  EXPECT_EQ(code.codes[1], 0b0);
  EXPECT_EQ(code.codes[0], 0b10);
  EXPECT_EQ(code.codes[2], 0b11);
}

TEST(HuffmanCode, EqualFrequenciesLeaveTheHeapInSymbolOrder) {
  // The three-code block of 300 a's: literal 97, lengths 43 and 256.
  std::vector<std::uint16_t> frequencies(510);
  frequencies[97] = frequencies[296] = frequencies[509] = 1;
  const Code code = Build(frequencies);
  EXPECT_EQ(code.lengths[296], 1);
  EXPECT_EQ(code.lengths[97], 2);
  EXPECT_EQ(code.lengths[509], 2);
  EXPECT_EQ(code.codes[296], 0b0);
  EXPECT_EQ(code.codes[97], 0b10);
  EXPECT_EQ(code.codes[509], 0b11);
}

TEST(HuffmanCode, OneOrNoSymbolIsTheSingleSymbolForm) {
  const Code one = Build({0, 0, 7, 0, 0});
  EXPECT_EQ(one.root, 2);
  EXPECT_THAT(one.lengths, ElementsAre(0, 0, 0, 0, 0));
  EXPECT_EQ(one.codes[2], 0);
  EXPECT_EQ(Build({0, 0, 0}).root, 0);
}

TEST(HuffmanCode, LengthsAreLimitedToSixteenAndFillTheCodeSpace) {
  // Fibonacci frequencies make a tree 21 levels deep (and their sum still
  // fits the 16-bit node frequencies).
  std::vector<std::uint16_t> frequencies = {1, 1};
  while (frequencies.size() < 22) {
    frequencies.push_back(static_cast<std::uint16_t>(frequencies[frequencies.size() - 1] +
                                                     frequencies[frequencies.size() - 2]));
  }
  const Code code = Build(frequencies);
  std::uint32_t space = 0;
  for (const std::uint8_t length : code.lengths) {
    ASSERT_GE(length, 1);
    ASSERT_LE(length, 16);
    space += 1u << (16 - length);
  }
  EXPECT_EQ(space, 1u << 16);
  // The rarest symbols keep the longest codes.
  EXPECT_EQ(code.lengths[0], 16);
  EXPECT_EQ(code.lengths[21], 1);
}

}  // namespace
}  // namespace qv::codec
