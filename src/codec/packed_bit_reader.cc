#include "codec/packed_bit_reader.h"

#include <algorithm>
#include <span>

#include "codec/crc32.h"

namespace qv::codec {

void PackedBitReader::Start(PackedSource& source, std::uint32_t packed_size) {
  source_ = &source;
  packed_size_ = packed_size;
  unfetched_ = packed_size;
  cursor_ = BitCursor{0, 0, buffer_.data(), buffer_.data()};
  fetched_ = padding_ = folded_ = 0;
  crc_ = kCrcPreset;
}

BitCursor PackedBitReader::RefillSlowly(BitCursor cursor) {
  while (cursor.count < BitCursor::kVisibleBits) {
    if (cursor.next == cursor.end && unfetched_ > 0) {
      cursor_ = cursor;
      Fetch();
      cursor = cursor_;
    }
    std::uint64_t byte = 0;  // past the packed data the stream goes on with zero bits
    if (cursor.next < cursor.end) {
      byte = *cursor.next++;
    } else {
      ++padding_;
    }
    cursor.bits |= byte << (56 - cursor.count);
    cursor.count += 8;
  }
  return cursor;
}

void PackedBitReader::Fetch() {
  FoldTakenBytes();
  // Keep the fetched bytes not yet folded or not yet loaded; the rest of
  // the block is done.
  const std::uint8_t* const unfolded = cursor_.end - (fetched_ - folded_);
  const std::uint8_t* const first = std::min(unfolded, cursor_.next);
  const auto keep = static_cast<std::size_t>(cursor_.end - first);
  const std::ptrdiff_t loaded = cursor_.next - first;
  std::memmove(buffer_.data(), first, keep);
  const std::size_t want = std::min<std::size_t>(unfetched_, kBlock);
  const std::span<std::uint8_t> block(buffer_.data() + keep, want);
  const std::size_t got = source_->Read(block);
  std::fill(block.begin() + static_cast<std::ptrdiff_t>(got), block.end(), 0xFF);
  unfetched_ -= static_cast<std::uint32_t>(want);
  fetched_ += want;
  cursor_.next = buffer_.data() + loaded;
  cursor_.end = block.data() + want;
}

void PackedBitReader::FoldTakenBytes() {
  const std::uint64_t unloaded = static_cast<std::uint64_t>(cursor_.end - cursor_.next);
  const std::uint64_t loaded = fetched_ - unloaded + padding_;
  const std::uint64_t used_bits = loaded * 8 - static_cast<std::uint64_t>(cursor_.count);
  const std::uint64_t taken = std::min<std::uint64_t>(packed_size_, (used_bits + 32 + 7) / 8);
  const std::uint64_t target = std::min(taken, fetched_);
  if (target <= folded_) return;
  // The buffer holds the fetched bytes up to cursor_.end.
  const std::uint8_t* first = cursor_.end - (fetched_ - folded_);
  crc_ = Crc32Update(crc_, std::span(first, target - folded_));
  folded_ = target;
}

std::uint32_t PackedBitReader::CrcRegister() {
  // With the bits refilled every taken byte has been fetched.
  Refill();
  FoldTakenBytes();
  return crc_;
}

}  // namespace qv::codec
