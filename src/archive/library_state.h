// The state of one archive library: the open archive, its work archive and
// the selection list, the callbacks, the volume being read or written, the
// temporary-name counter, and the codec's decoder and encoder. The library
// object owns one; the units of the walk (extraction, volumes, update, disk
// spanning) work on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/file_slots.h"
#include "archive/selection.h"
#include "archive/temporary_names.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/events.h"
#include "codec/member_record.h"
#include "platform/files.h"

namespace qv::archive {

class MembersAhead;
struct ThreadedWork;

// Room that writing to a removable disk keeps free behind a member that ends
// on it (an end marker and the next member's header fit in it).
inline constexpr std::int64_t kDiskReserve = 356;

// What a nonzero status word other than 30 becomes: processing stopped.
inline constexpr std::int16_t kStatusWordStop = 31;

struct LibraryState {
  explicit LibraryState(platform::Files& files_port) : files(files_port), slots(files_port) {}
  LibraryState(const LibraryState&) = delete;
  LibraryState& operator=(const LibraryState&) = delete;

  // Raises an event on the progress callback; its result, or 0 without one.
  std::int32_t Raise(MemberRecord& record, std::int32_t event, std::int32_t value);
  // Raises an event with a fresh zero-filled record whose name is `name`;
  // returns that record as the callback left it.
  MemberRecord RaiseScratch(std::int32_t event, std::int32_t value, std::string_view name = {});
  // Forgets the open archive: slots closed, names and selection cleared.
  void Reset();

  platform::Files& files;
  FileSlots slots;
  ProgressCallback progress;
  ProgressCallback overwrite;

  bool open = false;
  bool modified = false;
  bool keep_paths = false;
  bool read_only = false;
  // Set when an update could not be carried out whole: the work archive then
  // never takes the archive's place.
  bool keep_archive = false;
  std::string archive_name;
  std::string work_name;  // empty in read-only mode
  int archive_slot = -1;
  int work_slot = -1;
  Selection selection;

  // Threads that pack added members and decode extracted ones (1: each
  // member in place), and their work, which SetThreads brings.
  int threads = 1;
  const ThreadedWork* threaded = nullptr;
  // The decoding ahead of a walk that reads with several threads.
  MembersAhead* decode_ahead = nullptr;

  int current_volume = 0;
  std::int64_t cached_free_space = 0;
  TemporaryNames temporary_names;

  codec::Decoder decoder{&progress};
  codec::Encoder encoder{&progress};
};

// Copies `count` bytes from one slot to another in blocks of 4,096, raising
// event 43 (value: bytes copied so far) on the record after each block.
// Returns kOk, kReadError or kWriteError for a short read or write, or
// kCanceled when the record's status word is 30 after a block.
Status CopyBetweenSlots(LibraryState& state, MemberRecord& record, int from, int to,
                        std::int64_t count);

}  // namespace qv::archive
