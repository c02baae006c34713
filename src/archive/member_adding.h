// Carrying out the add entries of an update, before the archive's members
// are walked: the files each entry names are packed, in list order, into
// the work archive as new members. A file that is the archive or the work
// archive itself, or that does not open, is passed over; a file already
// added in this run is not added twice.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/library_state.h"

namespace qv::archive {

class BufferPool;

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

  // AddFiles with the files packed ahead on state_.threads threads, read
  // into memory in turn and written in the same order (member_adding_ahead,
  // reached through the state's ThreadedWork).
  std::int32_t AddFilesAhead(const std::vector<std::string>& paths);

 private:
  struct Pending;

  // The number of files added.
  std::int32_t AddFiles(const SelectionEntry& entry);
  // The file read for packing ahead into a block of `buffers`, or to be
  // packed in place.
  Pending Prepare(const std::string& path, std::string stored, BufferPool& buffers);
  // Adds the next file of the queue; true when the entry's adding stops.
  bool AddPending(Pending& pending, std::int32_t& added);
  // The stored name of a file to add, marked as added; nothing for a file
  // passed over without an event (the archive itself, added already).
  std::optional<std::string> Claim(const std::string& path);
  // False, with the event, for a stored name too long for a header.
  bool NameFits(const std::string& path, const std::string& stored);
  // Counts a file's outcome; true when the entry's adding stops.
  bool Settle(Status status, std::int32_t& added);
  // Packs the file open on `input` (closed afterwards): kOk when it was
  // added; anything else ends the entry's search.
  Status AddFile(int input, const std::string& stored);
  bool IsArchiveOrWork(const std::string& path);
  void FillRecord(const std::string& stored, int input);
  MemberRecord NewMemberRecord(const std::string& stored, int input);

  LibraryState& state_;
  MemberRecord& record_;
  const std::set<std::string>& existing_;
  bool may_change_disk_;
  std::set<std::string> added_;
  Status failure_ = Status::kOk;
};

}  // namespace qv::archive
