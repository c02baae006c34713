// The decoder's view of one member's packed bytes: a stream of bits, most
// significant bit of each byte first, with zero bits after the member's
// packed size. Bytes come from the source in blocks, but the CRC register
// sees exactly the bytes the bit-at-a-time reader of the format would have
// taken: once B bits are used, the first min(packed size, ceil((B + 32) / 8))
// bytes. A byte the source cannot deliver counts as 0xFF, the low eight bits
// of the end-of-file result of a one-byte read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "codec/byte_streams.h"

namespace qv::codec {

class PackedBitReader {
 public:
  // Starts a member of `packed_size` bytes that begins at the source's
  // current position.
  void Start(PackedSource& source, std::uint32_t packed_size);

  // Makes at least kVisibleBits bits visible.
  static constexpr int kVisibleBits = 57;
  void Refill() {
    if (count_ >= kVisibleBits) return;
    if (end_ - next_ >= 8) {
      bits_ |= LoadBigEndian64(&buffer_[next_]) >> count_;
      const int bytes = (64 - count_) >> 3;
      next_ += static_cast<std::size_t>(bytes);
      loaded_ += static_cast<std::uint64_t>(bytes);
      count_ += bytes * 8;
    } else {
      RefillSlowly();
    }
  }

  // The next `bits` bits (1 to 32) as a number, without consuming them.
  std::uint32_t Peek(int bits) const { return static_cast<std::uint32_t>(bits_ >> (64 - bits)); }
  // All visible bits, the next one in the most significant position.
  std::uint64_t bits() const { return bits_; }
  void Skip(int bits) {
    bits_ <<= bits;
    count_ -= bits;
  }
  // Reads a field of 0 to 32 bits.
  std::uint32_t Get(int bits) {
    if (bits == 0) return 0;
    const std::uint32_t value = Peek(bits);
    Skip(bits);
    return value;
  }

  // The CRC register (not complemented) over the bytes taken so far.
  std::uint32_t CrcRegister();

 private:
  static constexpr std::size_t kBlock = 4096;
  // Bytes of the previous block that may still be untaken when the next
  // block is fetched (the visible bits run at most four bytes ahead).
  static constexpr std::size_t kCarry = 8;

  static std::uint64_t LoadBigEndian64(const std::uint8_t* bytes);
  void RefillSlowly();
  void Fetch();
  void FoldTakenBytes();

  PackedSource* source_ = nullptr;
  std::uint32_t packed_size_ = 0;
  std::uint32_t unfetched_ = 0;  // packed bytes not yet fetched from the source
  std::array<std::uint8_t, kCarry + kBlock> buffer_{};
  std::size_t next_ = 0;  // next buffer byte to load into the bits
  std::size_t end_ = 0;   // end of the fetched bytes in the buffer
  std::uint64_t bits_ = 0;
  int count_ = 0;             // visible bits, from the top of bits_
  std::uint64_t loaded_ = 0;  // bytes loaded into the bits, zero padding included
  std::uint64_t fetched_ = 0;
  std::uint64_t folded_ = 0;  // bytes folded into the CRC
  std::uint32_t crc_ = 0;
};

}  // namespace qv::codec
