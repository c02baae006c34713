#include "codec/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace qv::codec {
namespace {

// The definition, one bit at a time.
std::uint32_t BitwiseCrc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t reg = 0xFFFFFFFFu;
  for (const std::uint8_t byte : bytes) {
    reg ^= byte;
    for (int bit = 0; bit < 8; ++bit)
      reg = (reg >> 1) ^ ((reg & 1u) ? 0xEDB88320u : 0u);
  }
  return ~reg;
}

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Crc32, KnownValues) {
  EXPECT_EQ(Crc32({}), 0x00000000u);
  EXPECT_EQ(Crc32(Bytes("abc")), 0x352441C2u);
  EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
  const std::vector<std::uint8_t> worked_example = {0x00, 0x02, 0x20, 0x04, 0x36,
                                                    0x11, 0x36, 0x75, 0x40, 0x10};
  EXPECT_EQ(Crc32(worked_example), 0x25520E90u);
}

TEST(Crc32, MatchesTheBitwiseDefinitionAtEveryLengthAndAlignment) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> data(1200);  // past several steps of the widest fold
  for (auto& byte : data)
    byte = static_cast<std::uint8_t>(random());
  for (std::size_t start = 0; start < 9; ++start) {
    for (std::size_t length = 0; start + length <= data.size(); length += 1 + length / 8) {
      const std::span<const std::uint8_t> part(data.data() + start, length);
      ASSERT_EQ(Crc32(part), BitwiseCrc32(part)) << start << "+" << length;
    }
  }
}

TEST(Crc32, PiecesFoldLikeTheWhole) {
  std::vector<std::uint8_t> data(1000);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(i * 7 + 3);
  std::uint32_t reg = kCrcPreset;
  reg = Crc32Update(reg, std::span(data.data(), 13));
  reg = Crc32Update(reg, std::span(data.data() + 13, 1));
  reg = Crc32Update(reg, std::span(data.data() + 14, data.size() - 14));
  EXPECT_EQ(~reg, BitwiseCrc32(data));
}

}  // namespace
}  // namespace qv::codec
