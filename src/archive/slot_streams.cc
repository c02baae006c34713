#include "archive/slot_streams.h"

#include <limits>

#include "archive/drive_info.h"

namespace qv::archive {

std::optional<codec::FileStatus> SlotPackInput::ReadStatus() {
  const std::optional<platform::FileStatus> status = slots_.StatusOf(slot_);
  if (!status || status->size > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return codec::FileStatus{.modification_time = static_cast<std::uint32_t>(status->write_time),
                           .mode = status->mode,
                           .owner_id = 0,
                           .group_id = 0,
                           .size = static_cast<std::uint32_t>(status->size)};
}

bool SlotPackOutput::OnRemovableDrive() {
  return IsRemovableDrive(files_, DriveNumber());
}

int SlotPackOutput::DriveNumber() {
  return DriveOfPath(files_, slots_.NameOf(slot_));
}

}  // namespace qv::archive
