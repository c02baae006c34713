#include "codec/crc32.h"

#include "codec/crc32_clmul.h"

#include <array>
#include <bit>
#include <cstring>

namespace qv::codec {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
constexpr int kSlices = 8;

// table[0] is the classic byte table; table[k][b] is the register change of
// byte b followed by k zero bytes, which lets eight bytes be folded at once.
struct CrcTables {
  std::array<std::array<std::uint32_t, 256>, kSlices> table{};

  CrcTables() {
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
      std::uint32_t reg = byte;
      for (int bit = 0; bit < 8; ++bit)
        reg = (reg >> 1) ^ ((reg & 1u) ? kPolynomial : 0u);
      table[0][byte] = reg;
    }
    for (int slice = 1; slice < kSlices; ++slice) {
      for (std::uint32_t byte = 0; byte < 256; ++byte) {
        const std::uint32_t previous = table[slice - 1][byte];
        table[slice][byte] = (previous >> 8) ^ table[0][previous & 0xFFu];
      }
    }
  }
};

const CrcTables& Tables() {
  static const CrcTables tables;
  return tables;
}

// Whether to fold long buffers by carry-less multiplication; asked once.
bool UseClmul() {
  static const bool use = ClmulAvailable();
  return use;
}

std::uint32_t LoadLittleEndian32(const std::uint8_t* bytes) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  } else {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  }
}

}  // namespace

std::uint32_t Crc32Update(std::uint32_t reg, std::span<const std::uint8_t> bytes) {
  const auto& t = Tables().table;
  const std::uint8_t* p = bytes.data();
  std::size_t left = bytes.size();
  if (left >= kClmulMinimum && UseClmul()) {
    const std::size_t folded = Crc32FoldClmul(reg, p, left);
    p += folded;
    left -= folded;
  }
  while (left >= 8) {
    const std::uint32_t low = LoadLittleEndian32(p) ^ reg;
    const std::uint32_t high = LoadLittleEndian32(p + 4);
    reg = t[7][low & 0xFFu] ^ t[6][(low >> 8) & 0xFFu] ^ t[5][(low >> 16) & 0xFFu] ^
          t[4][low >> 24] ^ t[3][high & 0xFFu] ^ t[2][(high >> 8) & 0xFFu] ^
          t[1][(high >> 16) & 0xFFu] ^ t[0][high >> 24];
    p += 8;
    left -= 8;
  }
  while (left-- > 0)
    reg = (reg >> 8) ^ t[0][(reg ^ *p++) & 0xFFu];
  return reg;
}

}  // namespace qv::codec
