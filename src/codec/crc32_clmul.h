// CRC-32 by carry-less multiplication (x86 PCLMULQDQ): 64 bytes folded per
// step instead of eight, 128 where the processor multiplies 256-bit lanes
// (VPCLMULQDQ). Used by crc32.cc when the processor has it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::codec {

// True when this build and this processor can run Crc32UpdateClmul.
bool ClmulAvailable();

inline constexpr std::size_t kClmulMinimum = 64;

// Folds the whole 16-byte blocks of `size` bytes (at least kClmulMinimum)
// into the register, with the same result as the table method, and returns
// how many bytes it took; the rest is left to the tables.
std::size_t Crc32FoldClmul(std::uint32_t& reg, const std::uint8_t* bytes, std::size_t size);

}  // namespace qv::codec
