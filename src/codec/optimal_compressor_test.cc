// The optimal parse's members: back through the decoder byte for byte over
// the edges of the window, the blocks and the segments, smaller than the
// lazy parse's, and the encoder's rules (storing, cancelling, memory) kept.
#include "codec/optimal_compressor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "codec/block_plan.h"
#include "codec/codec_test_support.h"
#include "codec/encoder.h"
#include "codec/memory_streams.h"

namespace qv::codec {
namespace {

std::uint32_t ExpectBestRoundTrip(const std::vector<std::uint8_t>& data, const std::string& what) {
  return ExpectRoundTrip(data, what, /*optimal_parse=*/true);
}

// Bytes with a skewed spread over all 256 values: Huffman codes gain on them
// but matches are rare, so a block holds about one code per byte.
std::vector<std::uint8_t> SkewedBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::geometric_distribution<int> draw(0.03);
  std::vector<std::uint8_t> bytes(count);
  for (auto& byte : bytes)
    byte = static_cast<std::uint8_t>(std::min(draw(random), 255));
  return bytes;
}

TEST(OptimalParse, SmallAndDegenerateInputs) {
  EXPECT_EQ(PackAll({}, "EMPTY", true).record.method, kMethodStored);
  for (const std::size_t size : {1, 2, 3, 4, 5, 100, 256, 257, 258, 259, 1000, 70000}) {
    ExpectBestRoundTrip(std::vector<std::uint8_t>(size, 'q'), "run of " + std::to_string(size));
    ExpectBestRoundTrip(Words(size, 1), "text of " + std::to_string(size));
  }
  // A long run costs a literal and a bit or so per 256 bytes.
  EXPECT_LT(ExpectBestRoundTrip(std::vector<std::uint8_t>(300000, 0), "zeros"), 300u);

  std::vector<std::uint8_t> all_values(256);
  for (int b = 0; b < 256; ++b)
    all_values[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
  EXPECT_EQ(PackAll(all_values, "ALL.BIN", true).record.method, kMethodStored);
  ExpectBestRoundTrip(Repeated(all_values, 40), "every byte value, repeated");
}

TEST(OptimalParse, MatchesReachExactlyOneWindowBack) {
  // A block of 4096 random bytes repeats exactly one window back: found.
  const std::vector<std::uint8_t> window = RandomBytes(4096, 3);
  EXPECT_LT(ExpectBestRoundTrip(Repeated(window, 6), "4096 repeated"), 4096u + 5 * 4096 / 40);
  const std::vector<std::uint8_t> near = RandomBytes(4095, 4);
  EXPECT_LT(ExpectBestRoundTrip(Repeated(near, 6), "4095 repeated"), 4095u + 5 * 4095 / 40);
  // One byte further is out of reach: nothing to find, so it is stored.
  const Packed far = PackAll(Repeated(RandomBytes(4097, 5), 3), "FAR.BIN", true);
  EXPECT_EQ(far.record.method, kMethodStored);
}

TEST(OptimalParse, BlocksAndSegments) {
  // Text, noise and text again: the cuts fall where the statistics change.
  std::vector<std::uint8_t> mixed = Words(60000, 8);
  const std::vector<std::uint8_t> noise = RandomBytes(20000, 8);
  mixed.insert(mixed.begin() + 30000, noise.begin(), noise.end());
  ExpectBestRoundTrip(mixed, "text with noise inside");
  // More literals than one block's code count can hold.
  ExpectBestRoundTrip(SkewedBytes(200000, 9), "skewed bytes");
  // Several segments, with matches across their seams.
  const std::size_t segment = OptimalCompressor::kSegmentSize;
  for (const std::size_t size : {segment - 1, segment, segment + 1, 2 * segment + 4000}) {
    ExpectBestRoundTrip(Words(size, 10), "text of " + std::to_string(size));
  }
  ExpectBestRoundTrip(Repeated(RandomBytes(3000, 11), 200), "a short block repeated");
}

TEST(OptimalParse, RandomDataIsStored) {
  for (const std::size_t size : {10, 4352, 300000}) {
    const Packed packed = PackAll(RandomBytes(size, 5), "RANDOM.BIN", true);
    EXPECT_EQ(packed.record.method, kMethodStored) << size;
    EXPECT_EQ(packed.bytes, RandomBytes(size, 5)) << size;
  }
}

TEST(OptimalParse, ThousandsOfGeneratedInputs) {
  // Short inputs made of literals, runs and copies from anywhere behind.
  std::mt19937 random(12);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> data;
    const std::size_t size = random() % 700;
    const unsigned alphabet = 1 + random() % 256;
    while (data.size() < size) {
      const unsigned kind = random() % 4;
      if (kind == 0 || data.empty()) {
        data.push_back(static_cast<std::uint8_t>(random() % alphabet));
      } else if (kind == 1) {
        data.insert(data.end(), 1 + random() % 300, static_cast<std::uint8_t>(random()));
      } else {
        const std::size_t distance = 1 + random() % data.size();
        for (std::size_t n = 3 + random() % 60; n > 0; --n)
          data.push_back(data[data.size() - distance]);
      }
    }
    ExpectBestRoundTrip(data, "round " + std::to_string(round));
    if (HasFailure()) break;
  }
}

TEST(OptimalParse, SmallerThanTheLazyParse) {
  for (const auto& [data, what] :
       {std::pair{Words(300000, 13), "text"}, std::pair{SkewedBytes(100000, 14), "skewed"},
        std::pair{Repeated(Words(5000, 15), 30), "repeated text"}}) {
    const std::uint32_t lazy = ExpectRoundTrip(data, what);
    EXPECT_LT(ExpectBestRoundTrip(data, what), lazy * 0.99) << what;
  }
}

TEST(OptimalParse, BlockSizeIsExact) {
  // What the cuts are judged by is what the writer writes, for every form
  // of header: single symbols, no matches, one distance class, full codes.
  const std::vector<std::vector<LzCode>> blocks = {
      {LzCode::Literal('a')},
      std::vector<LzCode>(1000, LzCode::Literal('a')),
      {LzCode::Literal('a'), LzCode::Match(256, 1), LzCode::Match(256, 1)},
      {LzCode::Literal('a'), LzCode::Literal('b'), LzCode::Match(3, 2), LzCode::Match(9, 4096)},
  };
  std::vector<LzCode> mixed;
  for (unsigned i = 0; i < 5000; ++i) {
    mixed.push_back(i % 3 ? LzCode::Literal(static_cast<std::uint8_t>(i * i % 251))
                          : LzCode::Match(3 + i % 254, 1 + i * 7 % 4096));
  }
  for (std::vector<LzCode> codes : blocks) {
    BlockStatistics statistics;
    statistics.Add(codes);
    const BlockPlan plan(statistics);
    MemoryPackOutput output;
    PackedBitWriter writer;
    const std::uint32_t plenty = 1u << 30;
    writer.Start(output, plenty);
    plan.Write(codes, writer);
    writer.Finish();
    EXPECT_EQ(output.bytes().size(), (plan.bits() + 7) / 8) << codes.size();
  }
}

// A member packed with the optimal parse through PackMember, with a
// callback and a heap.
Packed PackBest(const std::vector<std::uint8_t>& data, const ProgressCallback& callback,
                const Heap& heap = ProcessHeap()) {
  Encoder encoder(&callback, heap);
  encoder.set_optimal_parse(true);
  return PackAll(encoder, data, "TEXT.TXT");
}

TEST(OptimalParse, CancelledMemberEndsWithAWholeBlock) {
  // Cancelled at the first progress after compression began.
  const std::vector<std::uint8_t> data = Words(3 * OptimalCompressor::kSegmentSize, 16);
  std::vector<std::int32_t> progress;
  const Packed member =
      PackBest(data, [&](MemberRecord& record, std::int32_t event, std::int32_t value) {
        if (event == event::kAddProgress && value > 0) {
          progress.push_back(value);
          record.status_word = kStatusWordCancel;
        }
        return 0;
      });
  EXPECT_EQ(member.status, Status::kCanceled);
  ASSERT_EQ(progress.size(), 1u);
  // The stream holds the bytes up to the progress reported, and no more.
  EXPECT_EQ(member.record.unpacked_size, static_cast<std::uint32_t>(progress[0]));
  const Unpacked unpacked = UnpackAll(member.bytes, member.record.unpacked_size);
  EXPECT_TRUE(std::equal(unpacked.bytes.begin(), unpacked.bytes.end(), data.begin()));
  EXPECT_EQ(unpacked.crc, member.record.crc);
}

TEST(OptimalParse, ProgressClimbsToTheSize) {
  const std::vector<std::uint8_t> data = Words(2 * OptimalCompressor::kSegmentSize, 17);
  std::vector<std::int32_t> values;
  const Packed member = PackBest(data, [&](MemberRecord&, std::int32_t event, std::int32_t value) {
    if (event == event::kAddProgress && value > 0) values.push_back(value);
    return 0;
  });
  ASSERT_EQ(member.status, Status::kOk);
  ASSERT_GT(values.size(), 2u);
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(values.back(), static_cast<std::int32_t>(data.size()));
}

TEST(OptimalParse, StoreListAndMemoryAsTheLazyParse) {
  const std::vector<std::uint8_t> text = Words(5000, 18);
  const Packed listed = PackAll(text, "OLD.ZIP", true);
  EXPECT_EQ(listed.record.method, kMethodStored);
  EXPECT_EQ(listed.bytes, text);

  std::vector<std::int32_t> events;
  const Packed refused = PackBest(
      text,
      [&](MemberRecord&, std::int32_t event, std::int32_t) {
        events.push_back(event);
        return 0;
      },
      CeilingHeap(99'999));
  EXPECT_EQ(refused.status, Status::kNoMemory);
  EXPECT_EQ(events.back(), ToInt(Status::kNoMemory));
}

}  // namespace
}  // namespace qv::codec
