// Reading an archive spread over removable disks. A member whose data do not
// fit on one disk has flag bit 3; its data run to the end of that volume's
// file and go on behind a continuation header at the start of the next
// volume, and so on; its packed size is the total over all volumes.
#pragma once

#include <cstdint>

#include "archive/library_state.h"

namespace qv::archive {

class VolumeReader {
 public:
  VolumeReader(LibraryState& state, MemberRecord& record) : state_(state), record_(record) {}

  // Asks for the next volume (event 40, value: its 1-based number), at most
  // ten prompts, and puts it into the archive's slot, positioned behind its
  // first header. A disk is taken when that header reads without error and
  // carries the volume number wanted. kError when the archive's drive is not
  // removable; kCanceled (event 30) when the callback set the status word or
  // no fitting disk came.
  Status NextVolume();

  // Passes the archive over `total` bytes of a member that begins at its
  // position, from volume to volume: copied into the `sink` slot (event 43
  // per block), or skipped when `sink` is -1. kOk, kReadError, kWriteError,
  // kCanceled (status word 30, event 30), or kError when a volume change
  // failed.
  Status PassMember(std::uint32_t total, int sink);

 private:
  LibraryState& state_;
  MemberRecord& record_;
};

}  // namespace qv::archive
