// CRC-32 of the archive format: reflected polynomial 0xEDB88320, register
// preset to all ones, result complemented. Every packed byte of every member
// passes through it, so it works eight bytes at a time over tables that are
// built once, on first use, and never change afterwards.
#pragma once

#include <cstdint>
#include <span>

namespace qv::codec {

inline constexpr std::uint32_t kCrcPreset = 0xFFFFFFFFu;

// Folds `bytes` into a running register (start from kCrcPreset; complement
// the register to get the CRC).
std::uint32_t Crc32Update(std::uint32_t reg, std::span<const std::uint8_t> bytes);

// The CRC-32 of a whole buffer.
inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  return ~Crc32Update(kCrcPreset, bytes);
}

}  // namespace qv::codec
