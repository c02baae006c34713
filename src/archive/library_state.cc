#include "archive/library_state.h"

#include <algorithm>
#include <array>

namespace qv::archive {

std::int32_t LibraryState::Raise(MemberRecord& record, std::int32_t event, std::int32_t value) {
  return progress ? progress(record, event, value) : 0;
}

MemberRecord LibraryState::RaiseScratch(std::int32_t event, std::int32_t value,
                                        std::string_view name) {
  MemberRecord scratch;
  scratch.set_name(name);
  Raise(scratch, event, value);
  return scratch;
}

void LibraryState::Reset() {
  slots.Close(archive_slot);
  slots.Close(work_slot);
  archive_slot = -1;
  work_slot = -1;
  archive_name.clear();
  work_name.clear();
  selection.Clear();
  open = modified = keep_paths = read_only = keep_archive = false;
}

Status CopyBetweenSlots(LibraryState& state, MemberRecord& record, int from, int to,
                        std::int64_t count) {
  std::array<std::uint8_t, 4096> block{};
  std::int64_t copied = 0;
  while (copied < count) {
    const auto want = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), count - copied));
    const std::size_t got = state.slots.Read(from, std::span(block.data(), want));
    if (state.slots.Write(to, std::span(block.data(), got)) != got) return Status::kWriteError;
    copied += static_cast<std::int64_t>(got);
    state.Raise(record, event::kCopyProgress, static_cast<std::int32_t>(copied));
    if (got < want) return Status::kReadError;
    if (record.status_word == kStatusWordCancel) return Status::kCanceled;
  }
  return Status::kOk;
}

}  // namespace qv::archive
