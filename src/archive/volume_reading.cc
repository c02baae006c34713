#include "archive/volume_reading.h"

#include <algorithm>

#include "archive/drive_info.h"
#include "archive/member_header.h"

namespace qv::archive {

Status VolumeReader::NextVolume() {
  FileSlots& slots = state_.slots;
  slots.Close(state_.archive_slot);
  slots.Reserve(state_.archive_slot);
  const int drive = DriveOfPath(state_.files, state_.archive_name);
  if (!IsRemovableDrive(state_.files, drive)) {
    slots.Release(state_.archive_slot);
    return Status::kError;
  }
  const auto wanted = static_cast<std::uint8_t>(state_.current_volume + 1);
  for (int prompt = 1; prompt <= kDiskPrompts; ++prompt) {
    state_.Raise(record_, event::kInsertVolume, state_.current_volume + 2);
    if (record_.status_word != 0 || prompt == kDiskPrompts) break;
    if (!DriveReady(state_.files, drive)) continue;
    const int slot = slots.Open(state_.archive_name, open_mode::kReadOnly);
    if (slot < 0) continue;
    MemberRecord first;
    if (ReadMemberHeader(slots, slot, first) == Status::kOk && first.volume_number() == wanted) {
      ++state_.current_volume;
      slots.Release(state_.archive_slot);
      slots.MoveInto(slot, state_.archive_slot);
      return Status::kOk;
    }
    slots.Close(slot);
  }
  slots.Release(state_.archive_slot);
  state_.Raise(record_, event::kCanceled, 0);
  return Status::kCanceled;
}

Status VolumeReader::PassMember(std::uint32_t total, int sink) {
  FileSlots& slots = state_.slots;
  std::int64_t left = total;
  while (true) {
    const std::int64_t position = slots.Tell(state_.archive_slot);
    const std::int64_t in_file =
        std::max<std::int64_t>(0, slots.Length(state_.archive_slot) - position);
    const std::int64_t here = std::min(left, in_file);
    if (sink >= 0) {
      const Status copied = CopyBetweenSlots(state_, record_, state_.archive_slot, sink, here);
      if (copied == Status::kCanceled) state_.Raise(record_, event::kCanceled, 0);
      if (copied != Status::kOk) return copied;
    } else {
      slots.Seek(state_.archive_slot, here, platform::SeekOrigin::kCurrent);
    }
    left -= here;
    if (left == 0) return Status::kOk;
    if (NextVolume() != Status::kOk) return Status::kError;
  }
}

}  // namespace qv::archive
