// Test helper: writes fields most significant bit first into bytes, the way
// the packed stream lays them out, so tests can build streams by hand.
#pragma once

#include <cstdint>
#include <vector>

namespace qv::codec {

class BitStreamBuilder {
 public:
  BitStreamBuilder& Put(std::uint32_t value, int bits) {
    for (int bit = bits - 1; bit >= 0; --bit) {
      if (used_ % 8 == 0) bytes_.push_back(0);
      if ((value >> bit) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> (used_ % 8));
      ++used_;
    }
    return *this;
  }
  // A small-list length: 0-6 in three bits, 7 and up as a run of ones.
  BitStreamBuilder& PutSmallLength(int length) {
    if (length < 7) return Put(static_cast<std::uint32_t>(length), 3);
    return Put((1u << (length - 3)) - 2, length - 3);
  }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t bits() const { return static_cast<std::size_t>(used_); }

 private:
  std::vector<std::uint8_t> bytes_;
  int used_ = 0;
};

}  // namespace qv::codec
