// Decoding compressed members ahead of their turn, on other threads, while
// an archive is read: this thread reads the headers and packed bytes of the
// members behind the one being extracted and hands them to the workers; the
// extraction of a member then takes its bytes from memory instead of the
// decoder, raising the same events and writing the same chunks. Members
// continued over volumes, encrypted, stored or larger than kLargestAhead are
// expanded in place as with one thread.
//
// Memory: each worker holds one decoder and the member it decodes; the
// queue holds at most kAheadPerThread unpacked bytes per thread (plus their
// packed bytes), and blocks of up to kAheadPerThread bytes in all are kept
// for the members read later.
#pragma once

#include <cstdint>
#include <deque>
#include <future>
#include <optional>
#include <vector>

#include "archive/library_state.h"
#include "archive/threaded_work.h"
#include "archive/worker_pool.h"

namespace qv::archive {

// Whole windows: the decoder writes its window in place.
std::size_t DecodedCapacity(std::uint32_t unpacked_size);

// Decodes a member held in memory as the decoder in place would (any
// thread), into `output` of at least DecodedCapacity bytes.
DecodedMember DecodeInMemory(std::span<const std::uint8_t> packed, std::uint32_t packed_size,
                             std::uint32_t unpacked_size, Buffer output);

class DecodeAhead : public MembersAhead {
 public:
  DecodeAhead(LibraryState& state, int threads)
      : state_(state), pool_(threads), threads_(threads) {}

  void Reached(std::int64_t data_at, std::uint32_t packed_size) override;
  const DecodedMember* Take(std::int64_t data_at, std::uint32_t packed_size,
                            std::uint32_t unpacked_size) override;

 private:
  // A worker's answer, with the block that held the packed bytes.
  struct Decoded {
    DecodedMember member;
    Buffer packed;
  };
  struct Queued {
    std::int64_t data_at = 0;
    std::uint32_t packed_size = 0;
    std::uint32_t unpacked_size = 0;
    std::future<Decoded> decoded;
  };

  // Reads members from scan_at_ until the queue is full.
  void Refill();
  // The member last taken is written: its block serves a later one.
  void ReleaseTaken();
  bool Worth(const MemberRecord& header) const;
  std::size_t QueuedBytes() const;

  LibraryState& state_;
  WorkerPool pool_;
  std::size_t threads_;
  std::deque<Queued> queue_;
  std::optional<DecodedMember> taken_;
  BufferPool buffers_{kAheadPerThread};
  std::int64_t scan_at_ = 0;  // the next header to read ahead
  bool scan_ended_ = false;
};

}  // namespace qv::archive
