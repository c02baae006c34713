#include "codec/encoder.h"

#include <algorithm>
#include <new>
#include <span>

#include "codec/crc32.h"
#include "codec/lazy_parse.h"
#include "codec/store_list.h"

namespace qv::codec {
namespace {

constexpr std::size_t kCopyBufferSize = 4096;
constexpr std::size_t kMinCopyBufferSize = 256;

}  // namespace

void Encoder::Raise(MemberRecord& record, std::int32_t event, std::int32_t value) const {
  if (CallbackInstalled()) (*progress_)(record, event, value);
}

Status Encoder::Fail(MemberRecord& record, Status status) const {
  Raise(record, ToInt(status), 0);
  return status;
}

Status Encoder::PackMember(MemberRecord& record, PackInput* input, PackOutput* output,
                           bool& replacing) {
  if (input == nullptr || output == nullptr) return Status::kCannotOpen;
  const std::optional<FileStatus> file = input->ReadStatus();
  if (!file) return Fail(record, Status::kReadError);
  record.modification_time = file->modification_time;
  record.mode = file->mode;
  record.owner_id = file->owner_id;
  record.group_id = file->group_id;
  record.unpacked_size = file->size;
  record.method = kMethodCompressed;
  Raise(record, replacing ? event::kReplaceProgress : event::kAddProgress, 0);
  record.flags &= ~kFlagEncrypted;
  const std::int64_t start = output->Tell();

  bool store = IsOnStoreList(record.name_view());
  if (!store) {
    const Status status = CompressMember(record, *input, *output);
    if (status != Status::kOk) return Fail(record, status);
    store = incompressible();
  }
  if (store) {
    record.method = kMethodStored;
    if (!input->Rewind()) return Fail(record, Status::kReadError);
    if (!output->Seek(start)) return Fail(record, Status::kWriteError);
    const Status status = StoreMember(record, *input, *output);
    if (status != Status::kOk) {
      output->Seek(start);
      return status;
    }
    // A stopped copy is not a whole member, whatever the disk holds.
    if (record.status_word == kStatusWordCancel) return Fail(record, Status::kCanceled);
  }

  if (!output->OnRemovableDrive() && output->Tell() < start + record.packed_size) {
    output->Seek(start);
    Raise(record, ToInt(Status::kDiskFull), output->DriveNumber());
    return Status::kDiskFull;
  }
  Raise(record, event::kAdded, 0);
  replacing = false;
  return Status::kOk;
}

bool Encoder::TakeStagingBuffer() {
  for (std::size_t size = kStagingSize; size >= kMinStagingSize; size = size / 10 * 9) {
    staging_ = TryBuffer(heap_, size);
    if (!staging_.empty()) return true;
  }
  return false;
}

Status Encoder::CompressMember(MemberRecord& record, PackInput& input, PackOutput& output) {
  if (optimal_parse_) return optimal_.Compress(record, input, output);
  bytes_read_ = 0;
  if (!matches_ahead_) match_finder_ = TryMake<MatchFinder>(heap_);
  if ((!matches_ahead_ && match_finder_ == nullptr) || !TakeStagingBuffer()) {
    match_finder_.reset();
    return Status::kNoMemory;
  }
  const auto progress = [&] {
    if (CallbackInstalled()) {
      Raise(record, event::kAddProgress, static_cast<std::int32_t>(bytes_read_));
    }
    return true;
  };
  // Finding matches ahead takes its memory as it goes, from the threads.
  try {
    if (matches_ahead_) {
      const std::unique_ptr<MatchesAhead> ahead = matches_ahead_(input);
      AnswerCursor answers(*ahead, bytes_read_);
      coder_.Start(staging_, output, bytes_read_);
      LazyParse(answers, coder_, record, progress);
    } else {
      MatchFinder& finder = *match_finder_;
      finder.MatchFinderStart(input, bytes_read_);
      coder_.Start(staging_, output, bytes_read_);
      // Asked before the first step too, so that a member begun with the
      // other threads idle is not searched alone at all; a cancel asked at
      // a step ends the parse before another step.
      std::unique_ptr<MatchesAhead> ahead;
      const auto keep_finder = [&] {
        if (take_over_ && record.status_word != kStatusWordCancel && finder.remaining() > 0)
          ahead = take_over_(match_finder_, input, bytes_read_ - finder.remaining());
        return ahead == nullptr;
      };
      const auto progress_or_take_over = [&] {
        progress();
        return keep_finder();
      };
      bool resuming = false;
      if (keep_finder()) resuming = !LazyParse(finder, coder_, record, progress_or_take_over);
      if (ahead != nullptr) {
        AnswerCursor answers(*ahead, bytes_read_);
        LazyParse(answers, coder_, record, progress, resuming);
      }
    }
  } catch (const std::bad_alloc&) {
    staging_ = {};
    match_finder_.reset();
    return Status::kNoMemory;
  }
  coder_.Finish();
  staging_ = {};
  match_finder_.reset();

  record.packed_size = coder_.packed_bytes_written();
  if (!coder_.incompressible()) record.unpacked_size = bytes_read_;
  record.crc = ~coder_.crc_register();
  return record.status_word == kStatusWordCancel ? Status::kCanceled : Status::kOk;
}

Status Encoder::StoreMember(MemberRecord& record, PackInput& input, PackOutput& output) {
  std::vector<std::uint8_t> buffer;
  for (std::size_t size = kCopyBufferSize; size >= kMinCopyBufferSize && buffer.empty();
       size /= 2) {
    buffer = TryBuffer(heap_, size);
  }
  if (buffer.empty()) {
    record.packed_size = 0;
    return Fail(record, Status::kNoMemory);
  }
  record.flags &= ~kFlagEncrypted;
  std::uint32_t copied = 0;
  std::uint32_t crc = kCrcPreset;
  std::uint32_t left = record.unpacked_size;
  int chunks = 0;
  while (left > 0 && record.status_word != kStatusWordCancel) {
    const std::span<std::uint8_t> chunk(buffer.data(), std::min<std::size_t>(buffer.size(), left));
    const std::size_t got = input.Read(chunk);
    const std::span<const std::uint8_t> bytes(chunk.data(), got);
    output.Write(bytes);
    crc = Crc32Update(crc, bytes);
    copied += static_cast<std::uint32_t>(got);
    left -= static_cast<std::uint32_t>(got);
    if (CallbackInstalled() && ++chunks % 2 == 0) {
      Raise(record, event::kAddProgress, static_cast<std::int32_t>(copied));
    }
    // The file is shorter than its status said: the member holds what it has.
    if (got < chunk.size()) break;
  }
  record.unpacked_size = copied;
  record.packed_size = copied;
  record.crc = ~crc;
  return Status::kOk;
}

}  // namespace qv::codec
