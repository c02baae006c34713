#include "archive/decode_ahead.h"

#include <algorithm>
#include <memory>

#include "archive/member_header.h"
#include "codec/decoder.h"
#include "codec/memory_streams.h"

namespace qv::archive {

std::size_t DecodedCapacity(std::uint32_t unpacked_size) {
  const std::size_t chunks =
      (std::size_t{unpacked_size} + codec::kWindowSize - 1) / codec::kWindowSize;
  return chunks * codec::kWindowSize;
}

DecodedMember DecodeInMemory(std::span<const std::uint8_t> packed, std::uint32_t packed_size,
                             std::uint32_t unpacked_size, Buffer output) {
  DecodedMember decoded;
  codec::MemoryPackedSource source(packed);
  const auto decoder = std::make_unique<codec::Decoder>();
  decoder->DecodeStart(source, packed_size);
  // Not cleared first: every byte kept is decoded, and the decoder only
  // writes its window.
  const std::size_t chunks = DecodedCapacity(unpacked_size) / codec::kWindowSize;
  decoded.buffer = std::move(output);
  decoded.size = unpacked_size;
  MemberRecord unseen;
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    const std::size_t done = chunk * codec::kWindowSize;
    const std::size_t count = std::min<std::size_t>(codec::kWindowSize, unpacked_size - done);
    const codec::Decoder::Window window(decoded.buffer.bytes.get() + done, codec::kWindowSize);
    if (decoder->DecodeChunk(unseen, count, window) != Status::kOk) {
      decoded.damaged_chunk = chunk;
      decoded.size = done;
      break;
    }
  }
  decoded.packed_crc = decoder->PackedCrc();
  return decoded;
}

void DecodeAhead::ReleaseTaken() {
  if (taken_) buffers_.Give(std::move(taken_->buffer));
  taken_.reset();
}

void DecodeAhead::Reached(std::int64_t data_at, std::uint32_t packed_size) {
  ReleaseTaken();
  while (!queue_.empty() && queue_.front().data_at < data_at)
    queue_.pop_front();
  scan_at_ = std::max(scan_at_, data_at + std::int64_t{packed_size});
  Refill();
}

const DecodedMember* DecodeAhead::Take(std::int64_t data_at, std::uint32_t packed_size,
                                       std::uint32_t unpacked_size) {
  ReleaseTaken();
  if (queue_.empty() || queue_.front().data_at != data_at) return nullptr;
  Queued queued = std::move(queue_.front());
  queue_.pop_front();
  // A callback may have changed the sizes at event 44: they are what counts.
  if (queued.packed_size != packed_size || queued.unpacked_size != unpacked_size) {
    return nullptr;
  }
  Decoded decoded = queued.decoded.get();
  buffers_.Give(std::move(decoded.packed));
  taken_ = std::move(decoded.member);
  return &*taken_;
}

bool DecodeAhead::Worth(const MemberRecord& header) const {
  if (header.method != kMethodCompressed ||
      (header.flags & (kFlagContinued | kFlagEncrypted)) != 0 ||
      header.unpacked_size > kLargestAhead || header.packed_size > kLargestAhead) {
    return false;
  }
  const SelectionEntry* entry = state_.selection.FirstMatch(header.name_view(), state_.keep_paths);
  return entry != nullptr && entry->kind == EntryKind::kExtract;
}

std::size_t DecodeAhead::QueuedBytes() const {
  std::size_t bytes = 0;
  for (const Queued& queued : queue_)
    bytes += queued.unpacked_size + queued.packed_size;
  return bytes;
}

void DecodeAhead::Refill() {
  if (scan_ended_ || queue_.size() >= 2 * threads_ || QueuedBytes() >= threads_ * kAheadPerThread) {
    return;
  }
  FileSlots& slots = state_.slots;
  const int slot = state_.archive_slot;
  const std::int64_t kept = slots.Tell(slot);
  if (kept < 0 || slots.Seek(slot, scan_at_, platform::SeekOrigin::kBegin) != scan_at_) {
    scan_ended_ = true;
    return;
  }
  MemberRecord header;
  while (queue_.size() < 2 * threads_ && QueuedBytes() < threads_ * kAheadPerThread) {
    // The walk meets whatever ends the scan again, and deals with it.
    if (ReadMemberHeader(slots, slot, header) != Status::kOk ||
        (header.flags & kFlagContinued) != 0) {
      scan_ended_ = true;
      break;
    }
    const std::int64_t data_at = slots.Tell(slot);
    scan_at_ = data_at + std::int64_t{header.packed_size};
    if (!Worth(header)) {
      if (slots.Seek(slot, scan_at_, platform::SeekOrigin::kBegin) != scan_at_) {
        scan_ended_ = true;
        break;
      }
      continue;
    }
    const std::uint32_t packed_size = header.packed_size;
    const std::uint32_t unpacked_size = header.unpacked_size;
    Buffer packed = buffers_.Take(packed_size);
    const std::size_t got = slots.Read(slot, std::span(packed.bytes.get(), packed_size));
    Buffer output = buffers_.Take(DecodedCapacity(unpacked_size));
    queue_.push_back(
        {.data_at = data_at,
         .packed_size = packed_size,
         .unpacked_size = unpacked_size,
         .decoded = pool_.Submit([packed = std::move(packed), output = std::move(output), got,
                                  packed_size, unpacked_size]() mutable {
           DecodedMember member = DecodeInMemory(std::span(packed.bytes.get(), got), packed_size,
                                                 unpacked_size, std::move(output));
           return Decoded{std::move(member), std::move(packed)};
         })});
    if (got < packed_size) {
      scan_ended_ = true;  // the archive ends inside this member
      break;
    }
  }
  slots.Seek(slot, kept, platform::SeekOrigin::kBegin);
}

}  // namespace qv::archive
