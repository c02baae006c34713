#include "archive/decode_ahead.h"

#include <algorithm>
#include <memory>

#include "archive/member_header.h"
#include "codec/decoder.h"
#include "codec/memory_streams.h"

namespace qv::archive {

MemberInMemory::MemberInMemory(Buffer packed, std::size_t got, std::uint32_t packed_size,
                               std::uint32_t unpacked_size, Buffer output)
    : packed_(std::move(packed)),
      got_(got),
      packed_size_(packed_size),
      unpacked_size_(unpacked_size),
      output_(std::move(output)) {}

std::size_t MemberInMemory::OutputCapacity(std::uint32_t unpacked_size) {
  const std::size_t chunks =
      (std::size_t{unpacked_size} + codec::kWindowSize - 1) / codec::kWindowSize;
  return chunks * codec::kWindowSize;
}

void MemberInMemory::Decode() {
  std::size_t chunk = 0;
  std::uint32_t crc = 0;
  std::exception_ptr failure;
  try {
    codec::MemoryPackedSource source(std::span(packed_.bytes.get(), got_));
    const auto decoder = std::make_unique<codec::Decoder>();
    decoder->DecodeStart(source, packed_size_);
    // Not cleared first: every byte read is decoded, and the decoder only
    // writes its window.
    const std::size_t chunks = OutputCapacity(unpacked_size_) / codec::kWindowSize;
    MemberRecord unseen;
    for (; chunk < chunks; ++chunk) {
      const std::size_t done = chunk * codec::kWindowSize;
      const std::size_t count = std::min<std::size_t>(codec::kWindowSize, unpacked_size_ - done);
      const codec::Decoder::Window window(output_.bytes.get() + done, codec::kWindowSize);
      if (decoder->DecodeChunk(unseen, count, window) != Status::kOk) break;
      if ((chunk + 1) % kChunksPerPublication == 0) Publish(chunk + 1);
    }
    crc = decoder->PackedCrc();
  } catch (...) {
    failure = std::current_exception();
  }
  const std::scoped_lock lock(mutex_);
  chunks_done_ = chunk;
  packed_crc_ = crc;
  failure_ = failure;
  ended_ = true;
  changed_.notify_all();
}

void MemberInMemory::Publish(std::size_t chunks) {
  const std::scoped_lock lock(mutex_);
  chunks_done_ = chunks;
  changed_.notify_all();
}

template <class Done>
void MemberInMemory::WaitUntil(std::unique_lock<std::mutex>& lock, Done done) {
  changed_.wait(lock, [&] { return done() || ended_; });
  if (failure_) std::rethrow_exception(failure_);
}

bool MemberInMemory::WaitForChunk(std::size_t chunk) {
  std::unique_lock lock(mutex_);
  WaitUntil(lock, [&] { return chunks_done_ > chunk; });
  return chunks_done_ > chunk;
}

std::span<const std::uint8_t> MemberInMemory::Chunk(std::size_t chunk, std::size_t count) const {
  return {output_.bytes.get() + chunk * codec::kWindowSize, count};
}

std::uint32_t MemberInMemory::PackedCrc() {
  std::unique_lock lock(mutex_);
  WaitUntil(lock, [] { return false; });
  return packed_crc_;
}

std::optional<std::pair<Buffer, Buffer>> MemberInMemory::TakeBlocksIfEnded() {
  const std::scoped_lock lock(mutex_);
  if (!ended_) return std::nullopt;
  return std::pair(std::move(packed_), std::move(output_));
}

void DecodeAhead::ReleaseTaken() {
  if (!taken_) return;
  if (auto blocks = taken_->TakeBlocksIfEnded()) {
    buffers_.Give(std::move(blocks->first));
    buffers_.Give(std::move(blocks->second));
  }
  taken_.reset();
}

void DecodeAhead::Reached(std::int64_t data_at, std::uint32_t packed_size) {
  ReleaseTaken();
  while (!queue_.empty() && queue_.front().data_at < data_at)
    queue_.pop_front();
  scan_at_ = std::max(scan_at_, data_at + std::int64_t{packed_size});
  Refill();
}

MemberDecoding* DecodeAhead::Take(std::int64_t data_at, std::uint32_t packed_size,
                                  std::uint32_t unpacked_size) {
  ReleaseTaken();
  if (queue_.empty() || queue_.front().data_at != data_at) return nullptr;
  Queued queued = std::move(queue_.front());
  queue_.pop_front();
  // A callback may have changed the sizes at event 44: they are what counts.
  if (queued.packed_size != packed_size || queued.unpacked_size != unpacked_size) {
    return nullptr;
  }
  taken_ = std::move(queued.member);
  return taken_.get();
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
  if (scan_ended_ || queue_.size() >= kMembersAheadPerThread * threads_ ||
      QueuedBytes() >= threads_ * kAheadPerThread) {
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
  while (queue_.size() < kMembersAheadPerThread * threads_ &&
         QueuedBytes() < threads_ * kAheadPerThread) {
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
    auto member = std::make_shared<MemberInMemory>(
        std::move(packed), got, packed_size, unpacked_size,
        buffers_.Take(MemberInMemory::OutputCapacity(unpacked_size)));
    pool_.Submit([member] { member->Decode(); });
    queue_.push_back({.data_at = data_at,
                      .packed_size = packed_size,
                      .unpacked_size = unpacked_size,
                      .member = std::move(member)});
    if (got < packed_size) {
      scan_ended_ = true;  // the archive ends inside this member
      break;
    }
  }
  slots.Seek(slot, kept, platform::SeekOrigin::kBegin);
}

}  // namespace qv::archive
