// The walk of ArchiveProcess over the archive's members, carrying out the
// selection list: in update mode the add entries first, then for every
// member the first entry that matches it: extract it, delete it, drop it
// (replaced by an added file), or, when the archive is being rewritten, copy
// it unchanged into the work archive.
//
// An update is all or nothing: the work archive takes the archive's place
// on close only when the walk read the archive through to its end marker
// and wrote everything (an update stopped by the callback, a damaged header,
// a failed copy or extraction leaves the archive as it was). Archives spread
// over several volumes are read and extracted, but not updated
// ("Feature not supported").
#pragma once

#include <set>
#include <string>

#include "archive/library_state.h"

namespace qv::archive {

class ArchiveWalk {
 public:
  ArchiveWalk(LibraryState& state, MemberRecord& record) : state_(state), record_(record) {}

  // Raises event 47 at the end. Returns kOk when the walk ended normally
  // (also when cancelled or stopped), kError when extracting a member failed
  // or a member could not be passed over, the header's failure (raised as an
  // error event first) when the walk ended before the end marker: a damaged
  // or truncated header kCorruptHeader, a member needing a newer version
  // kIncompatibleVersion; and in update mode the status that kept the
  // archive as it was.
  Status Run();

 private:
  bool update() const { return !state_.read_only; }
  // Where the archive begins: the first signature from the archive's
  // position (within 200,000 bytes), else 0.
  std::int64_t FindStart();
  // The names of the members, read from the start: kOk, kNotSupported for a
  // continued member, or a header's failure.
  Status ScanMembers(std::set<std::string>& names);
  Status WalkMembers();
  // WalkMembers, with the compressed members decoded ahead on other threads
  // when several are set and the archive is read on one volume.
  Status WalkMembersWithDecodingAhead();
  // Handles the member whose header the record holds; sets `leave` when the
  // walk ends after it.
  Status HandleMember(std::int64_t data_at, bool& leave);
  Status DeleteMember(const MemberRecord& stored, bool& consumed);
  Status CopyMember(const MemberRecord& stored);
  Status PassOver(const MemberRecord& stored, std::int64_t data_at);
  // A walk that begins inside a continued member asks for the first volume.
  bool BackToFirstVolume();
  Status Finish(Status ended);

  LibraryState& state_;
  MemberRecord& record_;
  std::int64_t start_ = 0;
  bool changes_ = false;    // members not deleted or replaced are copied
  bool clean_end_ = false;  // the walk met the end marker (or an empty archive)
};

}  // namespace qv::archive
