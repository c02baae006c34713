// Streams written symbol by symbol under random complete codes, with the
// bytes they stand for worked out beside them: codes of every length up to
// 16 (the overflow trees of both tables), every distance class with extra
// bits, single-symbol codes, short and long matches at short and long
// distances, and members long enough that the fast loop crosses blocks and
// the reader's fetches.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "codec/bit_stream_builder.h"
#include "codec/codec_test_support.h"
#include "codec/crc32.h"
#include "codec/limited_code_lengths.h"
#include "codec/packed_format.h"

namespace qv::codec {
namespace {

struct CanonicalCode {
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
};

// A complete code over `symbols`, with lengths that run up to 16 when the
// frequencies are skewed enough.
CanonicalCode RandomCode(std::size_t symbols, std::mt19937& random) {
  std::vector<std::uint32_t> frequencies(symbols);
  for (auto& frequency : frequencies)
    frequency = random() % 4 == 0 ? 1 + random() % 200000 : 1 + random() % 3;
  CanonicalCode code{std::vector<std::uint8_t>(symbols), std::vector<std::uint16_t>(symbols)};
  LimitedCodeLengths(frequencies, kMaxCodeLength, code.lengths);
  CanonicalCodes(code.lengths, code.codes);
  return code;
}

class StreamWriter {
 public:
  explicit StreamWriter(unsigned seed) : random_(seed) {}

  // Appends a block of `codes` symbols and the bytes they expand to.
  void Block(std::uint32_t codes) {
    const bool single_literal_length = random_() % 8 == 0;
    const bool single_distance = random_() % 4 == 0;
    const CanonicalCode literal_length = RandomCode(kLiteralLengthSymbols, random_);
    const CanonicalCode distance = RandomCode(kDistanceClasses, random_);
    // The first byte must be a literal; a single distance class reaches
    // back no further than the bytes so far.
    unsigned single_symbol = random_() % kLiteralLengthSymbols;
    if (bytes_.empty() && single_symbol >= 256) single_symbol = 'a';
    const unsigned single_class = ReachableClass(static_cast<unsigned>(random_()));

    stream_.Put(codes, kCodeCountBits);
    const CanonicalCode code_lengths = CodeLengthCode(literal_length.lengths);
    PutSmallList(code_lengths.lengths, kCodeLengthCountBits, /*zero_run_field=*/true);
    if (single_literal_length) {
      stream_.Put(0, kLiteralCountBits).Put(single_symbol, kLiteralCountBits);
    } else {
      const int count = ListCount(literal_length.lengths);
      stream_.Put(static_cast<std::uint32_t>(count), kLiteralCountBits);
      for (int i = 0; i < count; ++i) {
        const unsigned length = literal_length.lengths[static_cast<std::size_t>(i)];
        const unsigned symbol = length == 0 ? 0 : length + kCodeLengthSymbolBias;
        Put(code_lengths, symbol);
      }
    }
    if (single_distance) {
      stream_.Put(0, kDistanceCountBits).Put(single_class, kDistanceCountBits);
    } else {
      PutSmallList(distance.lengths, kDistanceCountBits, /*zero_run_field=*/false);
    }

    for (std::uint32_t i = 0; i < codes; ++i) {
      unsigned symbol = single_literal_length ? single_symbol : ChooseSymbol();
      if (symbol >= 256 && bytes_.empty()) symbol = 'a';
      if (!single_literal_length) Put(literal_length, symbol);
      if (symbol < 256) {
        bytes_.push_back(static_cast<std::uint8_t>(symbol));
        continue;
      }
      const unsigned distance_class =
          single_distance ? single_class : ReachableClass(static_cast<unsigned>(random_()));
      const unsigned extra = distance_class < 2 ? 0 : distance_class - 1;
      const unsigned base = distance_class == 0 ? 0 : 1u << (distance_class - 1);
      const unsigned extra_value = extra == 0 ? 0 : random_() % (1u << extra);
      const std::size_t back = base + extra_value + 1;
      if (!single_distance) Put(distance, distance_class);
      stream_.Put(extra_value, static_cast<int>(extra));
      for (unsigned n = symbol - kMatchSymbolBias; n > 0; --n)
        bytes_.push_back(bytes_[bytes_.size() - back]);
    }
  }

  const std::vector<std::uint8_t>& packed() const { return stream_.bytes(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t bits() const { return stream_.bits(); }

 private:
  // Literals and matches about equally often; lengths mostly short, as
  // real streams have them, with the odd long one.
  unsigned ChooseSymbol() {
    if (random_() % 2 == 0) return random_() % 256;
    const unsigned length = random_() % 8 == 0 ? 3 + random_() % 254 : 3 + random_() % 14;
    return length + kMatchSymbolBias;
  }

  // A distance class whose whole range lies within the bytes so far, small
  // classes as often as large ones.
  unsigned ReachableClass(unsigned pick) const {
    const auto reach = static_cast<unsigned>(std::min<std::size_t>(bytes_.size(), kWindowSize));
    unsigned classes = 1;  // class k reaches up to 2^k bytes back
    while (classes < kDistanceClasses && (1u << classes) <= reach)
      ++classes;
    return pick % classes;
  }

  // The code-length code for these literal/length lengths, sent without
  // zero runs: symbol 0 for a zero, length + 2 otherwise. A second symbol is
  // counted in when only one occurs, since a lone code cannot be sent.
  static CanonicalCode CodeLengthCode(const std::vector<std::uint8_t>& lengths) {
    std::vector<std::uint32_t> frequencies(kCodeLengthSymbols);
    for (const std::uint8_t length : lengths)
      ++frequencies[length == 0 ? 0 : length + kCodeLengthSymbolBias];
    if (std::count(frequencies.begin(), frequencies.end(), 0u) == kCodeLengthSymbols - 1)
      ++frequencies[frequencies[0] == 0 ? 0 : 1];
    CanonicalCode code{std::vector<std::uint8_t>(kCodeLengthSymbols),
                       std::vector<std::uint16_t>(kCodeLengthSymbols)};
    LimitedCodeLengths(frequencies, kMaxCodeLength, code.lengths);
    CanonicalCodes(code.lengths, code.codes);
    return code;
  }

  void PutSmallList(const std::vector<std::uint8_t>& lengths, int count_bits, bool zero_run_field) {
    const int count = ListCount(lengths);
    stream_.Put(static_cast<std::uint32_t>(count), count_bits);
    for (int i = 0; i < count; ++i) {
      stream_.PutSmallLength(lengths[static_cast<std::size_t>(i)]);
      if (zero_run_field && i == 2) stream_.Put(0, kZeroRunBits);
    }
  }

  void Put(const CanonicalCode& code, unsigned symbol) {
    stream_.Put(code.codes[symbol], code.lengths[symbol]);
  }

  std::mt19937 random_;
  BitStreamBuilder stream_;
  std::vector<std::uint8_t> bytes_;
};

TEST(DecoderRandomStreams, ExpandToTheBytesTheirSymbolsStandFor) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    StreamWriter writer(seed);
    std::mt19937 random(seed);
    // Short blocks, where the fast loop hands over to the one symbol at a
    // time often, and long ones.
    for (int block = 0; block < 24; ++block)
      writer.Block(block % 3 == 0 ? 1 + random() % 8 : 1 + random() % 6000);
    const Unpacked unpacked = UnpackAll(writer.packed(), writer.bytes().size());
    ASSERT_EQ(unpacked.status, Status::kOk) << "seed " << seed;
    ASSERT_EQ(unpacked.bytes, writer.bytes()) << "seed " << seed;
    EXPECT_EQ(unpacked.crc, Crc32(writer.packed())) << "seed " << seed;
  }
}

TEST(DecoderRandomStreams, CrcStopsThirtyTwoBitsBehindTheLastSymbolAcrossFetches) {
  // Bytes the member holds after its last symbol are taken only as far as
  // the 32 bits behind it reach, however the reader fetched them.
  StreamWriter writer(99);
  for (int block = 0; block < 8; ++block)
    writer.Block(5000);
  ASSERT_GT(writer.packed().size(), 3 * 4096u);
  std::vector<std::uint8_t> member = writer.packed();
  for (int i = 0; i < 5000; ++i)
    member.push_back(static_cast<std::uint8_t>(i * 7));
  const Unpacked unpacked = UnpackAll(member, writer.bytes().size());
  ASSERT_EQ(unpacked.bytes, writer.bytes());
  const std::size_t taken = (writer.bits() + 32 + 7) / 8;
  EXPECT_EQ(unpacked.crc, Crc32(std::span(member.data(), taken)));
}

}  // namespace
}  // namespace qv::codec
