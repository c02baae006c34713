// Carrying out the add entries of an update, before the archive's members
// are walked: the files each entry names are packed, in list order, into
// the work archive as new members. A file that is the archive or the work
// archive itself, or that does not open, is passed over; a file already
// added in this run is not added twice.
#pragma once

#include <set>
#include <string>

#include "archive/library_state.h"

namespace qv::archive {

// The stored form of a path on disk: in keep-paths mode its full path
// without the drive, else its file part; without leading '.' and '\'; upper
// case. Nothing when the path cannot be resolved.
std::optional<std::string> StoredNameOf(LibraryState& state, std::string_view path);

// The folder an add entry's pattern names, in stored form ("" for the root).
std::string StoredFolderOf(LibraryState& state, std::string_view pattern);

class MemberAdding {
 public:
  // `existing`: the names of the archive's members (a file of such a name
  // replaces one: event 4); `may_change_disk`: see DiskSpanning.
  MemberAdding(LibraryState& state, MemberRecord& record, const std::set<std::string>& existing,
               bool may_change_disk)
      : state_(state), record_(record), existing_(existing), may_change_disk_(may_change_disk) {}

  // Carries out every add entry (event 53 each). Returns kOk, or the
  // failure that could not be taken back (keep_archive is then set), which
  // ends the adding.
  Status CarryOut();

 private:
  std::int32_t AddFiles(const SelectionEntry& entry);
  // Packs the file open on `input` (closed afterwards): kOk when it was
  // added; anything else ends the entry's search.
  Status AddFile(int input, const std::string& stored);
  bool IsArchiveOrWork(const std::string& path);
  void FillRecord(const std::string& stored, int input);

  LibraryState& state_;
  MemberRecord& record_;
  const std::set<std::string>& existing_;
  bool may_change_disk_;
  std::set<std::string> added_;
  Status failure_ = Status::kOk;
};

}  // namespace qv::archive
