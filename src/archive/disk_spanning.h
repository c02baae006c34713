// Writing an archive onto removable disks. A new member is first packed into
// a gathering file, then copied onto the disk in the drive; when it does not
// fit with 356 bytes to spare, its header gets flag bit 3 (needed version
// 0x30), the part that fits is written, and the next disk is asked for
// (event 39): the volume so far takes the archive's name on the full disk,
// and the new disk gets a new work archive that begins with the member's
// continuation header, carrying the next volume number.
#pragma once

#include "archive/library_state.h"

namespace qv::archive {

class DiskSpanning {
 public:
  DiskSpanning(LibraryState& state, MemberRecord& record) : state_(state), record_(record) {}

  // Writes the new member whose record and input slot are filled to the work
  // archive on its removable drive. `may_change_disk` is false while the
  // archive being replaced still holds members (they are copied behind the
  // new ones, and a change of disk would take the archive's old file away):
  // a member that does not fit then fails with kDiskFull (event -31). A
  // failure after a disk was changed cannot be taken back and sets
  // keep_archive.
  Status WriteMember(bool& replacing, bool may_change_disk);

 private:
  Status Place(int gathering, bool may_change_disk, bool& changed_disk);
  // The next disk, while writing: -1 (a fixed drive), -20, -30, -8, or 0.
  Status ChangeDisk();
  // Takes a disk that is in the drive: a new work archive on it with room.
  int TryDisk(int drive, std::uint32_t format_class);
  // Whether the disk in the drive is the one just filled.
  bool HoldsVolumeJustWritten();
  Status DiskFull();

  LibraryState& state_;
  MemberRecord& record_;
};

}  // namespace qv::archive
