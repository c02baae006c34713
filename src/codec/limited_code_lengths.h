// Code lengths of least total cost under a length limit (package-merge):
// what the block's symbols cost in bits is as small as the format allows.
#pragma once

#include <cstdint>
#include <span>

namespace qv::codec {

// Fills `lengths` (one per frequency) so that sum(frequency x length) is the
// least of all complete prefix codes whose lengths stay within `limit`. With
// fewer than two symbols in use every length is 0: the caller sends the
// single-symbol form. Returns the number of symbols in use.
int LimitedCodeLengths(std::span<const std::uint32_t> frequencies, int limit,
                       std::span<std::uint8_t> lengths);

// Canonical codes from lengths: shorter codes first, within a length in
// symbol order.
void CanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace qv::codec
