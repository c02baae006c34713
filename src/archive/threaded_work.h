// What the library does with more than one thread: decoding members ahead
// of an extraction and packing added files ahead. It lives in its own
// library (qv_archive_threads, with ArchiveLibrary::SetThreads), so that a
// program that never asks for threads, as the loader, links no thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/buffer_pool.h"

namespace qv::archive {

// A file or member larger than this is packed or expanded in place at its
// turn, as with one thread; the work queued ahead holds at most
// kAheadPerThread bytes per thread.
inline constexpr std::size_t kLargestAhead = std::size_t{16} << 20;
inline constexpr std::size_t kAheadPerThread = std::size_t{16} << 20;
// Files read ahead to be packed, at most, per thread: enough that while a
// large file at the front is packed, the other workers go on with the small
// ones behind it. Decoding ahead keeps two members per thread: extraction
// waits on its writes, not on its workers.
inline constexpr std::size_t kFilesAheadPerThread = 8;

struct LibraryState;
class MemberAdding;

// A member's data decoded in memory: the chunks before any damage, each
// decoded straight into its place in whole 4096-byte windows (so the buffer
// may run past `size`, and nothing beyond is meaningful).
struct DecodedMember {
  Buffer buffer;
  std::size_t size = 0;
  std::span<const std::uint8_t> view() const { return {buffer.bytes.get(), size}; }
  // The chunk (from 0) at which the packed stream proved damaged.
  std::optional<std::size_t> damaged_chunk;
  std::uint32_t packed_crc = 0;  // at the end, or where the damage was found
};

// The members of a walk decoded ahead of their turn (decode_ahead.h).
class MembersAhead {
 public:
  virtual ~MembersAhead() = default;
  // The walk has read a member's header (data at `data_at`): members behind
  // it are read and queued, and the slot's position is kept.
  virtual void Reached(std::int64_t data_at, std::uint32_t packed_size) = 0;
  // The member whose data begin at `data_at` with these sizes, when it was
  // decoded ahead; it lasts until the next call.
  virtual const DecodedMember* Take(std::int64_t data_at, std::uint32_t packed_size,
                                    std::uint32_t unpacked_size) = 0;
};

struct ThreadedWork {
  std::unique_ptr<MembersAhead> (*decode_ahead)(LibraryState& state, int threads);
  std::int32_t (MemberAdding::*add_files_ahead)(const std::vector<std::string>& paths);
};

}  // namespace qv::archive
