#include "archive/disk_spanning.h"

#include <algorithm>

#include "archive/archive_names.h"
#include "archive/drive_info.h"
#include "archive/member_header.h"
#include "archive/new_member.h"

namespace qv::archive {
namespace {

// A new disk is taken only with more than this many bytes free.
constexpr std::int64_t kLeastRoomOnNewDisk = 4096;

// The format class of a disk of this capacity (event 41), or -1 for a disk
// too small to take.
int FormatClass(std::int64_t capacity) {
  if (capacity >= 1'450'000) return 3;
  if (capacity >= 1'210'000) return 1;
  if (capacity >= 730'000) return 2;
  if (capacity >= 362'000) return 0;
  return -1;
}

}  // namespace

Status DiskSpanning::DiskFull() {
  state_.Raise(record_, ToInt(Status::kDiskFull), DriveOfPath(state_.files, state_.work_name));
  return Status::kDiskFull;
}

Status DiskSpanning::WriteMember(bool& replacing, bool may_change_disk) {
  if (state_.cached_free_space == 0) {
    state_.cached_free_space = std::max<std::int64_t>(
        0, FreeSpace(state_.files, DriveOfPath(state_.files, state_.work_name)));
  }
  const std::string& input_name = state_.slots.NameOf(record_.input_slot);
  const std::optional<std::string> temporary =
      state_.temporary_names.Next(state_.files, FolderOf(input_name));
  if (!temporary) return Status::kCannotCreate;
  const std::string name(state_.RaiseScratch(event::kGatheringName, 0, *temporary).name_view());
  const int gathering = state_.slots.Open(name, open_mode::kReadWriteNew);
  if (gathering < 0) return Status::kCannotCreate;
  const std::int64_t start = state_.slots.Tell(state_.work_slot);
  bool changed_disk = false;
  Status status = PackNewMember(state_, record_, gathering, replacing);
  if (status == Status::kOk) status = Place(gathering, may_change_disk, changed_disk);
  state_.slots.Close(gathering);
  state_.files.Remove(name);
  if (status != Status::kOk) {
    if (changed_disk) {
      state_.keep_archive = true;
    } else {
      state_.slots.Seek(state_.work_slot, start, platform::SeekOrigin::kBegin);
    }
  }
  return status;
}

Status DiskSpanning::Place(int gathering, bool may_change_disk, bool& changed_disk) {
  FileSlots& slots = state_.slots;
  const std::int64_t length = slots.Length(gathering);
  const auto header = static_cast<std::int64_t>(HeaderLength(record_));
  const auto room = [&] { return state_.cached_free_space - slots.Tell(state_.work_slot); };
  bool continued = length + kDiskReserve > room();
  if (continued && length == header) {
    // A member without data cannot go on: it goes whole if it fits.
    if (length > room()) return DiskFull();
    continued = false;
  }
  if (continued) {
    if (!may_change_disk || room() < header) return DiskFull();
    record_.flags |= kFlagContinued;
    record_.needed_version = kNeededContinued;
    slots.Seek(gathering, 0, platform::SeekOrigin::kBegin);
    if (const Status status = WriteMemberHeader(slots, gathering, record_); status != Status::kOk) {
      return status;
    }
  }
  slots.Seek(gathering, 0, platform::SeekOrigin::kBegin);
  for (std::int64_t left = length, least = header;; least = 0) {
    if (!continued || left + kDiskReserve <= room()) {
      return CopyBetweenSlots(state_, record_, gathering, state_.work_slot, left);
    }
    // All that fits, or all but the reserve when the member would end in it;
    // at least the header, and never the last byte, which must follow a
    // continuation header.
    const std::int64_t part =
        std::clamp(left <= room() ? room() - kDiskReserve : room(), least, left - 1);
    const Status copied = CopyBetweenSlots(state_, record_, gathering, state_.work_slot, part);
    if (copied != Status::kOk) return copied;
    left -= part;
    changed_disk = true;
    if (const Status changed = ChangeDisk(); changed != Status::kOk) return changed;
  }
}

Status DiskSpanning::ChangeDisk() {
  platform::Files& files = state_.files;
  FileSlots& slots = state_.slots;
  const int drive = DriveOfPath(files, state_.work_name);
  if (!IsRemovableDrive(files, drive)) return Status::kError;
  slots.Close(state_.archive_slot);
  // A stream may hold the volume's last bytes back until it closes.
  const bool volume_written = slots.Close(state_.work_slot) == Status::kOk;
  slots.Reserve(state_.archive_slot);
  slots.Reserve(state_.work_slot);
  const auto release = [&] {
    slots.Release(state_.archive_slot);
    slots.Release(state_.work_slot);
  };
  // The full disk's volume takes the archive's name in one step.
  if (!volume_written ||
      !files.Move(state_.work_name, state_.archive_name, /*replace_existing=*/true)) {
    release();
    return Status::kWriteError;
  }
  const int format_class = FormatClass(Capacity(files, drive));
  if (format_class < 0) {
    release();
    state_.Raise(record_, ToInt(Status::kInvalidMedia), 0);
    return Status::kInvalidMedia;
  }
  int work = -1;
  for (int prompt = 1; work < 0; ++prompt) {
    state_.Raise(record_, event::kInsertNextDisk, 0);
    if (record_.status_word != 0 || prompt == kDiskPrompts) {
      release();
      state_.Raise(record_, event::kCanceled, 0);
      return Status::kCanceled;
    }
    work = TryDisk(drive, static_cast<std::uint32_t>(format_class));
  }
  const int archive = slots.Open(state_.archive_name, open_mode::kReadWriteNew);
  release();
  if (archive < 0) {
    slots.Close(work);
    return Status::kCannotOpen;
  }
  slots.MoveInto(work, state_.work_slot);
  slots.MoveInto(archive, state_.archive_slot);
  record_.flags |= kFlagContinued;
  ++state_.current_volume;
  state_.cached_free_space = std::max<std::int64_t>(0, FreeSpace(files, drive));
  record_.set_volume_number(static_cast<std::uint8_t>(state_.current_volume));
  const Status written = WriteMemberHeader(slots, state_.work_slot, record_);
  state_.cached_free_space -= static_cast<std::int64_t>(HeaderLength(record_));
  return written;
}

bool DiskSpanning::HoldsVolumeJustWritten() {
  const int slot = state_.slots.Open(state_.archive_name, open_mode::kReadOnly);
  if (slot < 0) return false;
  MemberRecord first;
  const bool same = ReadMemberHeader(state_.slots, slot, first) == Status::kOk &&
                    first.volume_number() == static_cast<std::uint8_t>(state_.current_volume);
  state_.slots.Close(slot);
  return same;
}

int DiskSpanning::TryDisk(int drive, std::uint32_t format_class) {
  platform::Files& files = state_.files;
  if (!DriveReady(files, drive)) {
    state_.Raise(record_, event::kVolumeCreateFailed, ToInt(Status::kDriveNotResponding));
    return -1;
  }
  if (HoldsVolumeJustWritten()) {
    // The full disk is still in the drive: taking it would overwrite its volume.
    state_.Raise(record_, ToInt(Status::kDiskFull), drive);
    return -1;
  }
  int work = state_.slots.Open(state_.work_name, open_mode::kReadWriteNew);
  if (work >= 0) {
    if (FreeSpace(files, drive) > kLeastRoomOnNewDisk) return work;
    state_.slots.Close(work);
    files.Remove(state_.work_name);
    state_.Raise(record_, ToInt(Status::kDiskFull), drive);
    return -1;
  }
  state_.Raise(record_, event::kVolumeCreateFailed, ToInt(Status::kCannotCreate));
  // This library formats no disks: without a callback the request answers
  // "Feature not supported"; either way the file is tried once more.
  state_.Raise(record_, event::kFormatDisk,
               static_cast<std::int32_t>(format_class << 16 | static_cast<std::uint32_t>(drive)));
  return state_.slots.Open(state_.work_name, open_mode::kReadWriteNew);
}

}  // namespace qv::archive
