// Packing a member ahead of its turn, on another thread: the file's bytes are
// read into memory first, the encoder packs them into memory and its events
// are recorded instead of raised. When the member's turn comes, the events
// are raised in order and the bytes written, so that the callback and the
// archive see exactly what packing in place would have given them.
//
// Packing ahead assumes a callback that only watches. When the callback
// changes the record at an event (a cancel, a new name), the member is
// packed again in place from the bytes in memory: the events already raised
// are not raised twice, and the change takes effect where it was made.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "archive/buffer_pool.h"
#include "archive/library_state.h"
#include "codec/byte_streams.h"
#include "codec/encoder.h"

namespace qv::archive {

// A file to add, read whole into memory on the thread that owns the slots.
struct PreparedFile {
  MemberRecord record;  // the new member's header fields, status word 0
  bool replacing = false;
  std::optional<codec::FileStatus> status;
  Buffer buffer;  // the file's bytes, then what is left of the block
  std::size_t size = 0;

  std::span<const std::uint8_t> bytes() const { return {buffer.bytes.get(), size}; }
};

// One event as the encoder raised it, and the record it showed.
struct RecordedEvent {
  std::int32_t event = 0;
  std::int32_t value = 0;
  std::size_t record = 0;  // index into PackedAhead::records
};

// One write or seek of the encoder's output.
struct OutputStep {
  bool seek = false;
  std::int64_t position = 0;  // a seek's target, from the member's data
  std::size_t offset = 0;     // a write's bytes in PackedAhead::written
  std::size_t size = 0;
};

struct PackedAhead {
  Status status = Status::kOk;
  bool replacing = false;             // as the encoder left it
  MemberRecord record;                // as the encoder left it
  std::vector<MemberRecord> records;  // the distinct records the events showed
  std::vector<RecordedEvent> events;
  // The output's writes and seeks, made again in the same pieces so that a
  // disk that fills takes the same bytes as with one thread.
  std::vector<OutputStep> steps;
  std::vector<std::uint8_t> written;
};

// Packs the file into memory (any thread), with the optimal parse when
// `optimal_parse` (the library's choice), else the lazy one, whose finder
// `take_over` may hand to other threads part way.
PackedAhead PackAhead(const PreparedFile& file, bool optimal_parse,
                      codec::Encoder::TakeOver take_over = {});

// Writes the member packed ahead at the output's position as PackNewMember
// would have, with `record` the library's record. Returns what PackNewMember
// returns.
Status CommitPackedAhead(LibraryState& state, MemberRecord& record, const PreparedFile& file,
                         const PackedAhead& packed, int output, bool& replacing);

}  // namespace qv::archive
