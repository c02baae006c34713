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

#include "codec/big_endian_word.h"
#include "codec/byte_streams.h"

namespace qv::codec {

// The part of the reader that the decoding loop keeps in registers: the
// visible bits and the fetched bytes not yet loaded into them.
struct BitCursor {
  // A refill leaves 56 to 63 bits visible: enough for a symbol and a
  // distance with its extra bits (43), and never all 64, so that a refill
  // never shifts by 64.
  static constexpr int kVisibleBits = 56;

  std::uint64_t bits = 0;  // the next bit in the most significant position
  int count = 0;           // how many of them are the stream's
  const std::uint8_t* next = nullptr;
  const std::uint8_t* end = nullptr;

  // Makes at least kVisibleBits bits visible from the fetched bytes; false
  // when fewer than eight are left, for the reader's slow refill.
  bool Refill() {
    if (end - next < 8) return count >= kVisibleBits;
    RefillFromWord();
    return true;
  }
  // Refill for a cursor with at least eight fetched bytes ahead, without
  // branching on how many bytes fit. The bits below the new count repeat the
  // next byte's first bits, which the next refill puts there again.
  void RefillFromWord() {
    bits |= BigEndianWord(next) >> count;
    next += static_cast<unsigned>(63 - count) >> 3;
    count |= kVisibleBits;
  }
  // The next `width` bits (1 to 32) as a number, without consuming them.
  std::uint32_t Peek(int width) const { return static_cast<std::uint32_t>(bits >> (64 - width)); }
  void Skip(int width) {
    bits <<= width;
    count -= width;
  }
  // Reads a field of 0 to 32 bits.
  std::uint32_t Get(int width) {
    if (width == 0) return 0;
    const std::uint32_t value = Peek(width);
    Skip(width);
    return value;
  }
};

// A BitCursor as the decoder's fast loop keeps it, for a stretch where at
// least eight fetched bytes lie ahead of every refill: only the low six bits
// of `count` are the count, so that a symbol's code can be skipped with its
// whole table entry when the entry holds the code length in its low six bits
// and a multiple of 64 above them.
struct LooseBitCursor {
  explicit LooseBitCursor(const BitCursor& cursor)
      : bits(cursor.bits), count(static_cast<unsigned>(cursor.count)), next(cursor.next) {}

  void Refill() {
    bits |= BigEndianWord(next) >> (count & 63);
    next += (~count & 63) >> 3;
    count |= BitCursor::kVisibleBits;
  }
  void Skip(unsigned width_or_entry) {
    bits <<= width_or_entry & 63;
    count -= width_or_entry;
  }
  void StoreInto(BitCursor& cursor) const {
    cursor.bits = bits;
    cursor.count = static_cast<int>(count & 63);
    cursor.next = next;
  }

  std::uint64_t bits;
  unsigned count;
  const std::uint8_t* next;
};

class PackedBitReader {
 public:
  // Starts a member of `packed_size` bytes that begins at the source's
  // current position.
  void Start(PackedSource& source, std::uint32_t packed_size);

  BitCursor& cursor() { return cursor_; }
  // Makes at least BitCursor::kVisibleBits bits visible.
  void Refill() {
    if (!cursor_.Refill()) cursor_ = RefillSlowly(cursor_);
  }
  // The slow refill for a cursor taken out of the reader: fetches the next
  // block from the source, or goes on with zero bits past the packed data.
  BitCursor RefillSlowly(BitCursor cursor);

  // Fetched bytes that a fast decoding loop wants ahead of its cursor.
  static constexpr std::ptrdiff_t kAhead = 16;
  // For a cursor taken out of the reader: while the member has bytes not
  // yet fetched, fetches the next block behind the fewer than kAhead bytes
  // left, so that a fast loop need not stop at the block's end.
  BitCursor TopUp(BitCursor cursor) {
    if (cursor.end - cursor.next >= kAhead || unfetched_ == 0) return cursor;
    cursor_ = cursor;
    Fetch();
    return cursor_;
  }

  // The CRC register (not complemented) over the bytes taken so far.
  std::uint32_t CrcRegister();

 private:
  static constexpr std::size_t kBlock = 4096;
  // Bytes of the previous block kept when the next is fetched: those not
  // yet loaded (fewer than kAhead) and the loaded ones not yet folded into
  // the CRC (the visible bits run at most eight bytes behind them).
  static constexpr std::size_t kCarry = kAhead + 8;

  void Fetch();
  void FoldTakenBytes();

  BitCursor cursor_;
  PackedSource* source_ = nullptr;
  std::uint32_t packed_size_ = 0;
  std::uint32_t unfetched_ = 0;  // packed bytes not yet fetched from the source
  std::array<std::uint8_t, kCarry + kBlock> buffer_{};
  std::uint64_t fetched_ = 0;  // bytes fetched; the buffer ends with the last of them
  std::uint64_t padding_ = 0;  // zero bytes loaded after the packed data
  std::uint64_t folded_ = 0;   // bytes folded into the CRC
  std::uint32_t crc_ = 0;
};

}  // namespace qv::codec
