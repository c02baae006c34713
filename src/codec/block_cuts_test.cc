// Block cuts: where the statistics change, and never a block beyond what its
// code count can say.
#include "codec/block_cuts.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qv::codec {
namespace {

std::vector<LzCode> LiteralsFrom(std::size_t count, int first, int span, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<LzCode> codes;
  for (std::size_t i = 0; i < count; ++i)
    codes.push_back(LzCode::Literal(static_cast<std::uint8_t>(first + random() % span)));
  return codes;
}

// Alphabets of a power of two symbols, evenly spread, have one best code
// however their counts stray; other spreads may gain from more blocks.
TEST(BlockCuts, CutWhereTheStatisticsChange) {
  // Sixteen letters, then matches, then eight digits: three blocks.
  std::vector<LzCode> codes = LiteralsFrom(6000, 'a', 16, 1);
  for (unsigned i = 0; i < 3000; ++i)
    codes.push_back(LzCode::Match(3 + i % 4, 2049 + i % 2048));
  const std::vector<LzCode> digits = LiteralsFrom(5000, '0', 8, 2);
  codes.insert(codes.end(), digits.begin(), digits.end());
  const std::vector<std::size_t> cuts = ChooseBlockCuts(codes);
  ASSERT_EQ(cuts.size(), 3u) << ::testing::PrintToString(cuts);
  EXPECT_EQ(cuts[0], 0u);
  EXPECT_NEAR(static_cast<double>(cuts[1]), 6000, 16);
  EXPECT_NEAR(static_cast<double>(cuts[2]), 9000, 16);
}

TEST(BlockCuts, UniformCodesStayOneBlock) {
  EXPECT_EQ(ChooseBlockCuts(LiteralsFrom(50000, 'a', 32, 3)), (std::vector<std::size_t>{0}));
  EXPECT_EQ(ChooseBlockCuts(LiteralsFrom(1, 'a', 1, 4)), (std::vector<std::size_t>{0}));
  EXPECT_TRUE(ChooseBlockCuts({}).empty());
}

TEST(BlockCuts, NoBlockBeyondItsCodeCount) {
  for (const std::size_t count : {kMaxBlockCodes, kMaxBlockCodes + 1, 3 * kMaxBlockCodes + 7}) {
    const std::vector<LzCode> codes = LiteralsFrom(count, 'a', 26, 5);
    std::vector<std::size_t> cuts = ChooseBlockCuts(codes);
    cuts.push_back(count);
    for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
      EXPECT_LT(cuts[b], cuts[b + 1]) << count;
      EXPECT_LE(cuts[b + 1] - cuts[b], kMaxBlockCodes) << count;
    }
  }
}

TEST(BlockCuts, StagingCutsWhereTheLazyParseFillsItsBuffer) {
  // Literals take a byte each and a flag byte per eight: 14,541 of them
  // fill 16,384 bytes less a group's room.
  const std::vector<std::size_t> cuts = StagingCuts(LiteralsFrom(30000, 'a', 26, 6));
  EXPECT_EQ(cuts, (std::vector<std::size_t>{0, 14544, 29088}));
}

}  // namespace
}  // namespace qv::codec
