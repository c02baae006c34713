// Whole members packed and unpacked again, over the sizes and kinds of data
// where the encoder and decoder have their edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codec/codec_test_support.h"
#include "codec/member_record.h"

namespace qv::codec {
namespace {

// A made-up program file: little-endian tables, repeated instruction
// sequences with varying operands, strings and padding.
std::vector<std::uint8_t> ProgramLike(std::size_t size) {
  std::vector<std::uint8_t> data = RandomBytes(size, 11);
  for (std::size_t at = 0; at + 16 <= size; at += 16) {
    switch ((at / 16) % 4) {
      case 0:
        for (int i = 0; i < 4; ++i)
          data[at + 4 * i] = static_cast<std::uint8_t>(at / 64 + i);
        break;
      case 1:
        for (int i = 0; i < 16; ++i)
          data[at + i] = "\x55\x89\xE5\x83\xEC\x08\x8B\x45"[i % 8];
        break;
      case 2:
        std::fill_n(data.begin() + static_cast<std::ptrdiff_t>(at), 16, 0);
        break;
      default:
        break;  // operands: left random
    }
  }
  return data;
}

TEST(RoundTrip, SmallSizes) {
  for (const std::size_t size : {0, 1, 2, 3, 4, 5, 17, 100}) {
    ExpectRoundTrip(Words(size, 1), "text of " + std::to_string(size));
    ExpectRoundTrip(std::vector<std::uint8_t>(size, 'q'), "run of " + std::to_string(size));
  }
}

TEST(RoundTrip, AroundTheFirstRead) {
  // The first read takes 4352 bytes; the buffer slides after 4096 positions.
  for (const std::size_t size : {4095, 4096, 4097, 4351, 4352, 4353, 8191, 8192, 8193, 8448}) {
    ExpectRoundTrip(Words(size, 2), "text of " + std::to_string(size));
    ExpectRoundTrip(ProgramLike(size), "program of " + std::to_string(size));
  }
}

TEST(RoundTrip, RepeatedBlockOf4095CompressesAtThatDistance) {
  const std::vector<std::uint8_t> block = RandomBytes(4095, 3);
  std::vector<std::uint8_t> data;
  for (int i = 0; i < 8; ++i)
    data.insert(data.end(), block.begin(), block.end());
  // The first copy is stored as literals; the other seven are matches.
  EXPECT_LT(ExpectRoundTrip(data, "4095 repeated"), 4095u + 7 * 4095 / 20);
}

TEST(RoundTrip, RunsOfOneByte) {
  for (const std::size_t size : {257, 4096, 65536, 300000}) {
    EXPECT_LT(ExpectRoundTrip(std::vector<std::uint8_t>(size, 0), "zeros"), 40 + size / 400);
  }
}

TEST(RoundTrip, RandomDataIsStored) {
  for (const std::size_t size : {10, 4352, 4353, 50000}) {
    const Packed packed = PackAll(RandomBytes(size, 5));
    EXPECT_EQ(packed.record.method, kMethodStored) << size;
    EXPECT_EQ(packed.bytes, RandomBytes(size, 5)) << size;
  }
}

// Random bytes with copies of 3 to `longest` bytes from 1 to 4096 back, each
// followed by one random byte.
std::vector<std::uint8_t> CopiesFromAllOverTheWindow(std::size_t longest, std::uint32_t seed) {
  std::vector<std::uint8_t> data = RandomBytes(3000, seed);
  const std::vector<std::uint8_t> choices = RandomBytes(300000, seed + 1);
  for (std::size_t i = 0; i + 3 <= choices.size() && data.size() < 150000; i += 3) {
    const std::size_t length = 3 + choices[i] % (longest - 2);
    const std::size_t distance = 1 + (choices[i + 1] << 4 | choices[i + 2] >> 4) % 4096;
    for (std::size_t n = 0; n < length; ++n)
      data.push_back(data[data.size() - std::min(distance, data.size())]);
    data.push_back(choices[i + 2]);
  }
  return data;
}

TEST(RoundTrip, CopiesFromAllOverTheWindow) {
  // The decoder copies them whether or not they overlap their source (by
  // fewer or more than a word), from behind or (across a chunk) from ahead
  // in its window, and cut at chunk ends.
  ExpectRoundTrip(CopiesFromAllOverTheWindow(20, 21), "short copies");
  ExpectRoundTrip(CopiesFromAllOverTheWindow(256, 23), "copies of any length");
  // Near runs: copies from 1 to 16 back, as long as they come.
  std::vector<std::uint8_t> near = RandomBytes(16, 25);
  const std::vector<std::uint8_t> choices = RandomBytes(4000, 26);
  for (std::size_t i = 0; i + 2 <= choices.size(); i += 2) {
    const std::size_t distance = 1 + choices[i] % 16;
    for (std::size_t n = 0; n < 3u + choices[i + 1]; ++n)
      near.push_back(near[near.size() - distance]);
    near.push_back(choices[i + 1]);
  }
  ExpectRoundTrip(near, "copies overlapping their source");
}

TEST(RoundTrip, TextAndProgramsOverManyBlocks) {
  // Large enough for many staging blocks and window slides.
  EXPECT_LT(ExpectRoundTrip(Words(400000, 7), "text"), 400000u * 45 / 100);
  ExpectRoundTrip(ProgramLike(300000), "program");
  std::vector<std::uint8_t> mixed = Words(70000, 8);
  const std::vector<std::uint8_t> noise = RandomBytes(30000, 8);
  mixed.insert(mixed.begin() + 35000, noise.begin(), noise.end());
  ExpectRoundTrip(mixed, "text with noise inside");
}

}  // namespace
}  // namespace qv::codec
