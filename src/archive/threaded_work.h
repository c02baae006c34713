// What the library does with more than one thread: decoding members ahead
// of an extraction and packing added files ahead. It lives in its own
// library (qv_archive_threads, with ArchiveLibrary::SetThreads), so that a
// program that never asks for threads, as the loader, links no thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qv::archive {

// A file or member larger than this is packed or expanded in place at its
// turn, as with one thread; the work queued ahead holds at most
// kAheadPerThread bytes per thread.
inline constexpr std::size_t kLargestAhead = std::size_t{16} << 20;
inline constexpr std::size_t kAheadPerThread = std::size_t{16} << 20;
// Files read ahead to be packed, or members to be decoded, at most, per
// thread: enough that while a large one at the front is worked on, the other
// workers go on with the small ones behind it.
inline constexpr std::size_t kFilesAheadPerThread = 8;
inline constexpr std::size_t kMembersAheadPerThread = 8;

struct LibraryState;
class MemberAdding;

// A member being decoded in memory on another thread, its 4096-byte chunks
// read in order as they come.
class MemberDecoding {
 public:
  virtual ~MemberDecoding() = default;
  // Waits until the chunk (from 0) is decoded; false where the packed stream
  // proved damaged (the decoding ends at its first damage).
  virtual bool WaitForChunk(std::size_t chunk) = 0;
  // The bytes of a chunk WaitForChunk answered true for.
  virtual std::span<const std::uint8_t> Chunk(std::size_t chunk, std::size_t count) const = 0;
  // Waits for the end: the CRC of the packed bytes read, to the end or to
  // where the damage was found.
  virtual std::uint32_t PackedCrc() = 0;
};

// The members of a walk decoded ahead of their turn (decode_ahead.h).
class MembersAhead {
 public:
  virtual ~MembersAhead() = default;
  // The walk has read a member's header (data at `data_at`): members behind
  // it are read and queued, and the slot's position is kept.
  virtual void Reached(std::int64_t data_at, std::uint32_t packed_size) = 0;
  // The member whose data begin at `data_at` with these sizes, when it is
  // decoded ahead; it lasts until the next call.
  virtual MemberDecoding* Take(std::int64_t data_at, std::uint32_t packed_size,
                               std::uint32_t unpacked_size) = 0;
};

struct ThreadedWork {
  std::unique_ptr<MembersAhead> (*decode_ahead)(LibraryState& state, int threads);
  std::int32_t (MemberAdding::*add_files_ahead)(const std::vector<std::string>& paths);
};

}  // namespace qv::archive
