// Decoding compressed members ahead of their turn, on other threads, while
// an archive is read: this thread reads the headers and packed bytes of the
// members behind the one being extracted and hands them to the workers; the
// extraction of a member then takes its bytes from memory instead of the
// decoder, each chunk as soon as a worker has it, raising the same events
// and writing the same chunks. Members continued over volumes, encrypted,
// stored or larger than kLargestAhead are expanded in place as with one
// thread.
//
// Memory: each worker holds one decoder and the member it decodes; the
// queue holds at most kAheadPerThread unpacked bytes per thread (plus their
// packed bytes), and blocks of up to kAheadPerThread bytes in all are kept
// for the members read later.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

#include "archive/buffer_pool.h"
#include "archive/library_state.h"
#include "archive/threaded_work.h"
#include "archive/worker_pool.h"

namespace qv::archive {

// A member's packed bytes in memory, decoded as the decoder in place would
// (by Decode, on any one thread) straight into whole 4096-byte windows of
// `output`, while another thread reads the chunks done.
class MemberInMemory final : public MemberDecoding {
 public:
  // `packed` holds `got` bytes of the member's `packed_size`.
  MemberInMemory(Buffer packed, std::size_t got, std::uint32_t packed_size,
                 std::uint32_t unpacked_size, Buffer output);
  // Whole windows: the decoder writes its window in place.
  static std::size_t OutputCapacity(std::uint32_t unpacked_size);

  void Decode();
  bool WaitForChunk(std::size_t chunk) override;
  std::span<const std::uint8_t> Chunk(std::size_t chunk, std::size_t count) const override;
  std::uint32_t PackedCrc() override;
  // The blocks, once the decoding has ended (else nothing: it still writes).
  std::optional<std::pair<Buffer, Buffer>> TakeBlocksIfEnded();

 private:
  // Chunks done, published in groups: each publication costs a lock.
  static constexpr std::size_t kChunksPerPublication = 8;
  void Publish(std::size_t chunks);
  // Waits until `done` holds; rethrows what the decoding threw.
  template <class Done>
  void WaitUntil(std::unique_lock<std::mutex>& lock, Done done);

  Buffer packed_;
  std::size_t got_;
  std::uint32_t packed_size_;
  std::uint32_t unpacked_size_;
  Buffer output_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t chunks_done_ = 0;
  bool ended_ = false;
  std::uint32_t packed_crc_ = 0;
  std::exception_ptr failure_;
};

class DecodeAhead : public MembersAhead {
 public:
  DecodeAhead(LibraryState& state, int threads)
      : state_(state), pool_(threads), threads_(threads) {}

  void Reached(std::int64_t data_at, std::uint32_t packed_size) override;
  MemberDecoding* Take(std::int64_t data_at, std::uint32_t packed_size,
                       std::uint32_t unpacked_size) override;

 private:
  struct Queued {
    std::int64_t data_at = 0;
    std::uint32_t packed_size = 0;
    std::uint32_t unpacked_size = 0;
    // Shared with the worker that decodes it.
    std::shared_ptr<MemberInMemory> member;
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
  std::shared_ptr<MemberInMemory> taken_;
  BufferPool buffers_{kAheadPerThread};
  std::int64_t scan_at_ = 0;  // the next header to read ahead
  bool scan_ended_ = false;
};

}  // namespace qv::archive
