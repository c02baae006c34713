#include "codec/codec_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <string_view>

#include "codec/crc32.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/memory_streams.h"

namespace qv::codec {

Unpacked UnpackAll(std::span<const std::uint8_t> packed, std::size_t size,
                   std::uint32_t packed_size) {
  MemoryPackedSource source(packed);
  Decoder decoder;
  decoder.DecodeStart(source, packed_size);
  std::array<std::uint8_t, kWindowSize> window{};
  MemberRecord record;
  Unpacked result;
  while (result.bytes.size() < size) {
    const std::size_t count = std::min(kWindowSize, size - result.bytes.size());
    const Status status = decoder.DecodeChunk(record, count, window);
    if (status != Status::kOk && result.status == Status::kOk) result.status = status;
    result.bytes.insert(result.bytes.end(), window.begin(),
                        window.begin() + static_cast<std::ptrdiff_t>(count));
  }
  result.crc = decoder.PackedCrc();
  return result;
}

}  // namespace qv::codec

namespace qv::codec {

Packed PackAll(Encoder& encoder, std::span<const std::uint8_t> data, std::string_view name) {
  MemoryPackInput input({data.begin(), data.end()});
  MemoryPackOutput output;
  Packed packed;
  packed.record.set_name(name);
  bool replacing = false;
  packed.status = encoder.PackMember(packed.record, &input, &output, replacing);
  packed.bytes = output.bytes();
  return packed;
}

Packed PackAll(std::span<const std::uint8_t> data, std::string_view name, bool optimal_parse) {
  Encoder encoder;
  encoder.set_optimal_parse(optimal_parse);
  return PackAll(encoder, data, name);
}

std::uint32_t ExpectRoundTrip(const std::vector<std::uint8_t>& data, std::string_view what,
                              bool optimal_parse) {
  const Packed packed = PackAll(data, "DATA.BIN", optimal_parse);
  EXPECT_EQ(packed.status, Status::kOk) << what;
  EXPECT_EQ(packed.record.unpacked_size, data.size()) << what;
  EXPECT_EQ(packed.record.packed_size, packed.bytes.size()) << what;
  EXPECT_EQ(packed.record.crc, Crc32(packed.bytes)) << what;
  if (packed.record.method == kMethodStored) {
    EXPECT_EQ(packed.bytes, data) << what;
  } else {
    EXPECT_LE(packed.bytes.size(), data.size()) << what;
    const Unpacked unpacked = UnpackAll(packed.bytes, data.size());
    EXPECT_EQ(unpacked.status, Status::kOk) << what;
    EXPECT_TRUE(unpacked.bytes == data) << what;
    EXPECT_EQ(unpacked.crc, packed.record.crc) << what;
  }
  return packed.record.packed_size;
}

std::vector<std::uint8_t> Repeated(const std::vector<std::uint8_t>& block, int times) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < times; ++i)
    data.insert(data.end(), block.begin(), block.end());
  return data;
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& byte : bytes)
    byte = static_cast<std::uint8_t>(random());
  return bytes;
}

std::vector<std::uint8_t> Words(std::size_t count, unsigned seed) {
  static constexpr std::string_view kWords[] = {
      "the",    "probe", "trigger", "of",   "channel", "sample",  "volts", "and",
      "at",     "a",     "signal",  "time", "base",    "upgrade", "scope", "marker",
      "screen", "is",    "to",      "in",   "memory",  "window",  "setup", "level"};
  std::mt19937 random(seed);
  std::vector<std::uint8_t> text;
  while (text.size() < count) {
    const std::string_view word = kWords[random() % std::size(kWords)];
    text.insert(text.end(), word.begin(), word.end());
    if (random() % 9 == 0) {
      const std::string number = std::to_string(random() % 10000);
      text.push_back(' ');
      text.insert(text.end(), number.begin(), number.end());
    }
    text.push_back(random() % 12 == 0 ? '\n' : ' ');
  }
  text.resize(count);
  return text;
}

std::vector<std::uint8_t> ZipfText(std::size_t count, unsigned seed) {
  static constexpr std::string_view kSyllables[] = {"ka", "ri", "to", "ne", "su",  "mo", "la",
                                                    "pe", "di", "vo", "an", "el",  "is", "or",
                                                    "un", "ta", "ge", "bu", "chi", "ro"};
  constexpr std::size_t kVocabulary = 3000;
  std::mt19937 random(seed);
  std::vector<std::string> vocabulary(kVocabulary);
  for (std::string& word : vocabulary) {
    for (unsigned syllables = 1 + random() % 4; syllables > 0; --syllables)
      word += kSyllables[random() % std::size(kSyllables)];
  }
  // The word of rank r is drawn with weight 1 / r.
  std::vector<double> cumulative(kVocabulary);
  double total = 0;
  for (std::size_t rank = 0; rank < kVocabulary; ++rank)
    cumulative[rank] = total += 1.0 / static_cast<double>(rank + 1);
  std::vector<std::uint8_t> text;
  while (text.size() < count) {
    const double drawn = total * static_cast<double>(random()) / 4294967296.0;
    std::string word =
        vocabulary[static_cast<std::size_t>(
                       std::upper_bound(cumulative.begin(), cumulative.end(), drawn) -
                       cumulative.begin()) %
                   kVocabulary];
    if (random() % 100 < 7) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    text.insert(text.end(), word.begin(), word.end());
    const unsigned mark = random() % 100;
    const std::string_view after = mark < 6 ? ", " : mark < 9 ? ".\n" : " ";
    text.insert(text.end(), after.begin(), after.end());
  }
  text.resize(count);
  return text;
}

}  // namespace qv::codec
