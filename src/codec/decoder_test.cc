#include "codec/decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codec/bit_stream_builder.h"
#include "codec/codec_test_support.h"
#include "codec/crc32.h"
#include "codec/memory_streams.h"

namespace qv::codec {
namespace {

using ::testing::ElementsAre;

const std::vector<std::uint8_t> kHundredAs = {0x00, 0x02, 0x20, 0x04, 0x36,
                                              0x11, 0x36, 0x75, 0x40, 0x10};

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

// A block header whose three codes all take the single-symbol form.
BitStreamBuilder& PutSingleSymbolBlock(BitStreamBuilder& stream, std::uint32_t codes,
                                       std::uint32_t symbol, std::uint32_t distance_class = 0) {
  return stream.Put(codes, 16).Put(0, 5).Put(0, 5).Put(0, 9).Put(symbol, 9).Put(0, 4).Put(
      distance_class, 4);
}

TEST(Decoder, WorkedExampleExpandsToAHundredAs) {
  const Unpacked unpacked = UnpackAll(kHundredAs, 100);
  EXPECT_EQ(unpacked.status, Status::kOk);
  EXPECT_EQ(Text(unpacked.bytes), std::string(100, 'a'));
  EXPECT_EQ(unpacked.crc, 0x25520E90u);
}

TEST(Decoder, CrcCoversExactlyTheBytesTaken) {
  // The example uses 76 bits, so ceil((76 + 32) / 8) = 14 bytes are taken
  // from a member that claims 20; six bytes are never read.
  std::vector<std::uint8_t> member = kHundredAs;
  for (int i = 0; i < 10; ++i)
    member.push_back(static_cast<std::uint8_t>(0x50 + i));
  const Unpacked unpacked = UnpackAll(member, 100);
  EXPECT_EQ(Text(unpacked.bytes), std::string(100, 'a'));
  EXPECT_EQ(unpacked.crc, Crc32(std::span(member.data(), 14)));

  // Bytes the file does not hold count as 0xFF, the low byte of end-of-file.
  std::vector<std::uint8_t> expected = kHundredAs;
  expected.insert(expected.end(), 4, 0xFF);
  EXPECT_EQ(UnpackAll(kHundredAs, 100, 20).crc, Crc32(expected));
}

TEST(Decoder, ReadsNoFurtherThanThePackedSize) {
  std::vector<std::uint8_t> file = kHundredAs;
  file.insert(file.end(), 5000, 0x77);
  MemoryPackedSource source(file);
  Decoder decoder;
  decoder.DecodeStart(source, 10);
  std::array<std::uint8_t, kWindowSize> window{};
  MemberRecord record;
  EXPECT_EQ(decoder.DecodeChunk(record, 100, window), Status::kOk);
  EXPECT_EQ(decoder.PackedCrc(), 0x25520E90u);
  EXPECT_EQ(source.position(), 10u);
}

TEST(Decoder, SingleSymbolFormsTakeNoBitsPerSymbol) {
  // Block 1: five literals 'x'; block 2 follows at once, mid-byte: one match
  // of 256 (symbol 509) at distance value 0.
  BitStreamBuilder stream;
  PutSingleSymbolBlock(stream, 5, 'x');
  PutSingleSymbolBlock(stream, 1, 509);
  const Unpacked unpacked = UnpackAll(stream.bytes(), 261);
  EXPECT_EQ(unpacked.status, Status::kOk);
  EXPECT_EQ(Text(unpacked.bytes), std::string(261, 'x'));
  EXPECT_EQ(unpacked.crc, Crc32(stream.bytes()));
}

TEST(Decoder, MatchRunsAcrossChunksAndEndsWithAShortChunk) {
  // One literal and seventeen matches of 256: 4353 bytes, the second chunk
  // takes the rest of a match that began in the first.
  BitStreamBuilder stream;
  PutSingleSymbolBlock(stream, 1, 'z');
  PutSingleSymbolBlock(stream, 17, 509);
  std::vector<std::int32_t> progress;
  const ProgressCallback callback = [&](MemberRecord&, std::int32_t event, std::int32_t value) {
    EXPECT_EQ(event, event::kExtractProgress);
    progress.push_back(value);
    return 0;
  };
  MemoryPackedSource source(stream.bytes());
  Decoder decoder(&callback);
  decoder.DecodeStart(source, static_cast<std::uint32_t>(stream.bytes().size()));
  std::array<std::uint8_t, kWindowSize> window{};
  MemberRecord record;
  ASSERT_EQ(decoder.DecodeChunk(record, 4096, window), Status::kOk);
  EXPECT_EQ(std::count(window.begin(), window.end(), 'z'), 4096);
  // Positions about to be rewritten may hold anything; the match reads the
  // previous chunk's last byte at 4095 and then its own output.
  std::fill_n(window.begin(), 257, 0);
  ASSERT_EQ(decoder.DecodeChunk(record, 257, window), Status::kOk);
  EXPECT_EQ(std::count(window.begin(), window.begin() + 257, 'z'), 257);
  EXPECT_THAT(progress, ElementsAre(0, 4096));
}

TEST(Decoder, ALastChunkShorterThanTheBytesDecodedAhead) {
  // The first chunk ends one byte into a match of 256; chunks of 1, 2 and
  // 200 bytes take the rest of it and the next match.
  BitStreamBuilder stream;
  PutSingleSymbolBlock(stream, 4095, 'k');
  PutSingleSymbolBlock(stream, 2, 509);
  for (const std::size_t size : {4097, 4098, 4296, 4607}) {
    const Unpacked unpacked = UnpackAll(stream.bytes(), size);
    EXPECT_EQ(unpacked.status, Status::kOk) << size;
    EXPECT_EQ(std::count(unpacked.bytes.begin(), unpacked.bytes.end(), 'k'),
              static_cast<std::ptrdiff_t>(size))
        << size;
  }
}

TEST(Decoder, AMatchBeforeTheFirstByteStopsTheFastLoopToo) {
  // Enough packed bytes behind the blocks for the fast loop: three literals,
  // then matches at distance value 2048 + 11 extra bits.
  BitStreamBuilder stream;
  PutSingleSymbolBlock(stream, 3, 'x');
  PutSingleSymbolBlock(stream, 6, 300, 12);
  stream.Put(0, 32).Put(0, 32).Put(0, 32).Put(0, 32).Put(0, 32).Put(0, 32);
  const Unpacked unpacked = UnpackAll(stream.bytes(), 5000);
  EXPECT_EQ(unpacked.status, Status::kCrcError);
  EXPECT_EQ(Text({unpacked.bytes.begin(), unpacked.bytes.begin() + 4}), std::string("xxx\0", 4));
  EXPECT_EQ(std::count(unpacked.bytes.begin(), unpacked.bytes.end(), 0), 4997);
}

TEST(Decoder, AMatchBeforeTheFirstByteAfterLiteralsPastAOneByteChunk) {
  // Literal/length code: 'A' "0", match length 47 (symbol 300) "1"; the
  // code-length code: long zero run "0", length 1 "1"; distance class 12.
  // The fast loop takes two literals into the slack behind a chunk of one
  // byte before it meets the match.
  BitStreamBuilder stream;
  stream.Put(10, 16);
  stream.Put(4, 5).PutSmallLength(0).PutSmallLength(0).PutSmallLength(1).Put(0, 2);
  stream.PutSmallLength(1);
  stream.Put(301, 9);
  stream.Put(0b0, 1).Put(65 - 20, 9).Put(0b1, 1);   // 65 zeros, then 'A'
  stream.Put(0b0, 1).Put(234 - 20, 9).Put(0b1, 1);  // 234 zeros, then 300
  stream.Put(0, 4).Put(12, 4);
  stream.Put(0b001, 3).Put(0, 11);  // A A, then 47 at distance 2049
  stream.Put(0, 32).Put(0, 32).Put(0, 32).Put(0, 32).Put(0, 32).Put(0, 32);
  MemoryPackedSource source(stream.bytes());
  Decoder decoder;
  decoder.DecodeStart(source, static_cast<std::uint32_t>(stream.bytes().size()));
  std::array<std::uint8_t, kWindowSize> window;
  window.fill(0xEE);
  MemberRecord record;
  EXPECT_EQ(decoder.DecodeChunk(record, 1, window), Status::kCrcError);
  EXPECT_EQ(window[0], 'A');
  EXPECT_EQ(window[1], 0xEE);
  EXPECT_EQ(decoder.DecodeChunk(record, 4096, window), Status::kCrcError);
  EXPECT_EQ(std::count(window.begin(), window.end(), 0), 4096);
}

TEST(Decoder, HandBuiltBlockWithFullCodes) {
  // Literal/length code: match length 3 (symbol 256) "0", 'A' "10", 'B' "11".
  // Code-length code: symbols 2, 3, 4 with lengths 1, 2, 2; its list is
  // 0, 0, 1, then the zero-run field 0 although the fourth length is not 0.
  // Distance code: classes 0-7 with lengths 1-7, 7 (length 7 sent as 1110),
  // no zero-run field although the list has more than three lengths.
  BitStreamBuilder stream;
  stream.Put(7, 16);
  stream.Put(5, 5).PutSmallLength(0).PutSmallLength(0).PutSmallLength(1).Put(0, 2);
  stream.PutSmallLength(2).PutSmallLength(2);
  stream.Put(257, 9);
  stream.Put(0b0, 1).Put(65 - 20, 9);   // 65 zeros
  stream.Put(0b11, 2).Put(0b11, 2);     // 'A' and 'B' have length 2
  stream.Put(0b0, 1).Put(189 - 20, 9);  // 189 zeros
  stream.Put(0b10, 2);                  // symbol 256 has length 1
  stream.Put(8, 4);
  for (const int length : {1, 2, 3, 4, 5, 6, 7, 7})
    stream.PutSmallLength(length);
  stream.Put(0b10, 2).Put(0b11, 2).Put(0b10, 2).Put(0b11, 2);  // A B A B
  stream.Put(0b0, 1).Put(0b10, 2);                             // 3 at distance 2
  stream.Put(0b0, 1).Put(0b1110, 4).Put(0b10, 2);              // 3 at distance 7
  stream.Put(0b0, 1).Put(0b0, 1);                              // 3 at distance 1
  const Unpacked unpacked = UnpackAll(stream.bytes(), 13);
  EXPECT_EQ(unpacked.status, Status::kOk);
  EXPECT_EQ(Text(unpacked.bytes), "ABABABAABAAAA");
}

// A block whose code-length code has these lengths (zero-run field 0).
std::vector<std::uint8_t> SmallList(const std::vector<int>& lengths) {
  BitStreamBuilder stream;
  stream.Put(1, 16).Put(static_cast<std::uint32_t>(lengths.size()), 5);
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    stream.PutSmallLength(lengths[i]);
    if (i == 2) stream.Put(0, 2);
  }
  return stream.bytes();
}

TEST(Decoder, StopsCleanlyOnStreamsItsEncoderNeverWrites) {
  const auto single = [](std::uint32_t codes, std::uint32_t symbol, std::uint32_t distance) {
    BitStreamBuilder stream;
    return PutSingleSymbolBlock(stream, codes, symbol, distance).bytes();
  };
  struct Case {
    const char* what;
    std::vector<std::uint8_t> stream;
  };
  const std::vector<Case> cases = {
      {"code count 0", std::vector<std::uint8_t>(12, 0)},
      {"code-length count 20", BitStreamBuilder().Put(1, 16).Put(20, 5).bytes()},
      {"code-length single symbol 19", BitStreamBuilder().Put(1, 16).Put(0, 5).Put(19, 5).bytes()},
      {"literal count 511", BitStreamBuilder().Put(1, 16).Put(0, 10).Put(511, 9).bytes()},
      {"literal single symbol 510", single(1, 510, 0)},
      {"distance single class 13", single(1, 300, 13)},
      {"distance count 14", BitStreamBuilder().Put(1, 16).Put(0, 28).Put(14, 4).bytes()},
      {"length 17", BitStreamBuilder().Put(1, 16).Put(1, 5).Put(0b1111111111110, 14).bytes()},
      {"over-full code", SmallList({1, 1, 1})},
      {"under-full code", SmallList({2, 2, 2})},
      {"lone code of length 1", SmallList({1})},
      // Code-length code: single symbol 2 (run of 20 + r zeros), r = 491.
      {"zero run past 510",
       BitStreamBuilder().Put(1, 16).Put(0, 5).Put(2, 5).Put(510, 9).Put(491, 9).bytes()},
      {"match before the first byte", single(1, 300, 0)},
  };
  for (const Case& c : cases) {
    const Unpacked unpacked = UnpackAll(c.stream, 5000);
    EXPECT_EQ(unpacked.status, Status::kCrcError) << c.what;
    EXPECT_EQ(unpacked.bytes.size(), 5000u) << c.what;
  }
}

TEST(Decoder, DamageIsStickyAndTheRestOfTheChunkIsZero) {
  BitStreamBuilder stream;
  PutSingleSymbolBlock(stream, 3, 'q');  // then zero bits: a code count of 0
  MemoryPackedSource source(stream.bytes());
  Decoder decoder;
  decoder.DecodeStart(source, static_cast<std::uint32_t>(stream.bytes().size()));
  std::array<std::uint8_t, kWindowSize> window;
  window.fill(0xEE);
  MemberRecord record;
  EXPECT_EQ(decoder.DecodeChunk(record, 4096, window), Status::kCrcError);
  EXPECT_EQ(Text({window.begin(), window.begin() + 5}), std::string("qqq\0\0", 5));
  EXPECT_EQ(std::count(window.begin() + 3, window.end(), 0), 4093);
  EXPECT_EQ(decoder.DecodeChunk(record, 10, window), Status::kCrcError);
  EXPECT_EQ(decoder.DecodeChunk(record, 0, window), Status::kBadArgument);
  EXPECT_EQ(decoder.DecodeChunk(record, 4097, window), Status::kBadArgument);
}

TEST(Decoder, TruncatedStreamStillFillsEveryChunk) {
  for (std::uint32_t packed_size = 0; packed_size < kHundredAs.size(); ++packed_size) {
    const Unpacked unpacked = UnpackAll(kHundredAs, 100, packed_size);
    EXPECT_EQ(unpacked.bytes.size(), 100u);
    EXPECT_EQ(unpacked.crc, Crc32(std::span(kHundredAs.data(), packed_size)));
  }
}

TEST(Decoder, RandomBytesNeverEscapeTheWindow) {
  std::mt19937 random(2024);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::uint8_t> stream(1 + random() % 600);
    for (auto& byte : stream)
      byte = static_cast<std::uint8_t>(random());
    // A plausible header now and then, so that decoding goes deeper.
    if (round % 2 == 0 && stream.size() > 2) stream[0] = 0, stream[1] = 0x40;
    const std::size_t size = random() % 20000;
    const Unpacked unpacked = UnpackAll(stream, size);
    ASSERT_EQ(unpacked.bytes.size(), size);
  }
}

}  // namespace
}  // namespace qv::codec
