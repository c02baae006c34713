#include "codec/packed_bit_reader.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "codec/crc32.h"

namespace qv::codec {

void PackedBitReader::Start(PackedSource& source, std::uint32_t packed_size) {
  source_ = &source;
  packed_size_ = packed_size;
  unfetched_ = packed_size;
  next_ = end_ = 0;
  bits_ = 0;
  count_ = 0;
  loaded_ = fetched_ = folded_ = 0;
  crc_ = kCrcPreset;
}

std::uint64_t PackedBitReader::LoadBigEndian64(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i)
    value = value << 8 | bytes[i];
  return value;
}

void PackedBitReader::RefillSlowly() {
  while (count_ < kVisibleBits) {
    if (next_ == end_ && unfetched_ > 0) Fetch();
    // Past the packed data the stream goes on with zero bits.
    const std::uint64_t byte = next_ < end_ ? buffer_[next_++] : 0;
    bits_ |= byte << (56 - count_);
    count_ += 8;
    ++loaded_;
  }
}

void PackedBitReader::Fetch() {
  FoldTakenBytes();
  // Keep the fetched bytes not yet folded; the rest of the block is done.
  const auto keep = static_cast<std::size_t>(fetched_ - folded_);
  std::memmove(buffer_.data(), buffer_.data() + end_ - keep, keep);
  next_ = next_ - (end_ - keep);
  const std::size_t want = std::min<std::size_t>(unfetched_, kBlock);
  const std::span<std::uint8_t> block(buffer_.data() + keep, want);
  const std::size_t got = source_->Read(block);
  std::fill(block.begin() + static_cast<std::ptrdiff_t>(got), block.end(), 0xFF);
  unfetched_ -= static_cast<std::uint32_t>(want);
  end_ = keep + want;
  fetched_ += want;
}

void PackedBitReader::FoldTakenBytes() {
  const std::uint64_t used_bits = loaded_ * 8 - static_cast<std::uint64_t>(count_);
  const std::uint64_t taken = std::min<std::uint64_t>(packed_size_, (used_bits + 32 + 7) / 8);
  const std::uint64_t target = std::min(taken, fetched_);
  if (target <= folded_) return;
  const std::uint64_t first = fetched_ - end_;  // absolute number of buffer_[0]
  crc_ = Crc32Update(crc_, std::span(buffer_.data() + (folded_ - first), target - folded_));
  folded_ = target;
}

std::uint32_t PackedBitReader::CrcRegister() {
  // With the bits refilled every taken byte has been fetched.
  Refill();
  FoldTakenBytes();
  return crc_;
}

}  // namespace qv::codec
