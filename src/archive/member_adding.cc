#include "archive/member_adding.h"

#include "archive/archive_names.h"
#include "archive/disk_spanning.h"
#include "archive/drive_info.h"
#include "archive/file_search.h"
#include "archive/member_header.h"
#include "archive/new_member.h"
#include "archive/text_test.h"
#include "archive/threaded_work.h"

namespace qv::archive {

std::optional<std::string> StoredNameOf(LibraryState& state, std::string_view path) {
  if (!state.keep_paths) return UpperAscii(StripDriveAndLeadingDots(FilePart(path)));
  const platform::Result<std::string> full = state.files.FullPath(path);
  if (!full) return std::nullopt;
  return UpperAscii(StripDriveAndLeadingDots(*full));
}

std::string StoredFolderOf(LibraryState& state, std::string_view pattern) {
  std::string folder(FolderOf(pattern));
  if (folder.empty() || folder.back() == ':') folder += '.';
  return StoredNameOf(state, folder).value_or(std::string());
}

Status MemberAdding::CarryOut() {
  for (SelectionEntry& entry : state_.selection.entries()) {
    if (entry.kind != EntryKind::kAdd) continue;
    const std::int32_t added = AddFiles(entry);
    state_.RaiseScratch(event::kAddEntryDone, added, entry.pattern);
    state_.modified = true;
    if (failure_ != Status::kOk) break;
  }
  return failure_;
}

std::int32_t MemberAdding::AddFiles(const SelectionEntry& entry) {
  const std::vector<std::string> paths = SearchFiles(state_, entry.pattern);
  // Disks are spanned one member after the other.
  if (state_.threaded != nullptr && state_.threads > 1 &&
      !IsRemovableDrive(state_.files, DriveOfPath(state_.files, state_.work_name))) {
    return (this->*state_.threaded->add_files_ahead)(paths);
  }
  std::int32_t added = 0;
  for (const std::string& path : paths) {
    const std::optional<std::string> stored = Claim(path);
    if (!stored || !NameFits(path, *stored)) continue;
    const int input = state_.slots.Open(path, open_mode::kReadOnly);
    if (input < 0) continue;  // passed over without an event
    if (Settle(AddFile(input, *stored), added)) break;
  }
  return added;
}

std::optional<std::string> MemberAdding::Claim(const std::string& path) {
  if (IsArchiveOrWork(path)) return std::nullopt;
  std::optional<std::string> stored = StoredNameOf(state_, path);
  if (!stored || stored->empty() || !added_.insert(*stored).second) return std::nullopt;
  return stored;
}

bool MemberAdding::NameFits(const std::string& path, const std::string& stored) {
  if (stored.size() <= kMaxStoredNameLength) return true;
  record_.set_name(path);
  state_.Raise(record_, ToInt(Status::kBadArgument), 0);
  return false;
}

bool MemberAdding::Settle(Status status, std::int32_t& added) {
  if (status == Status::kOk) {
    ++added;
  } else if (record_.status_word == 0) {
    record_.status_word = 1;
  }
  if (state_.keep_archive) {
    failure_ = status;
    return true;
  }
  if (record_.status_word == 0) return false;
  if (record_.status_word == kStatusWordCancel || record_.status_word == kStatusWordStop) {
    state_.Raise(record_, event::kCanceled, 0);
  }
  record_.status_word = 0;
  return true;
}

Status MemberAdding::AddFile(int input, const std::string& stored) {
  FillRecord(stored, input);
  bool replacing = existing_.contains(stored);
  const bool removable =
      IsRemovableDrive(state_.files, DriveOfPath(state_.files, state_.work_name));
  const Status status = removable
                            ? DiskSpanning(state_, record_).WriteMember(replacing, may_change_disk_)
                            : PackNewMember(state_, record_, state_.work_slot, replacing);
  state_.slots.Close(input);
  record_.input_slot = state_.archive_slot;
  return status;
}

bool MemberAdding::IsArchiveOrWork(const std::string& path) {
  const auto same = [&](const std::string& other) {
    if (other.empty() || !SameIgnoringCase(FilePart(path), FilePart(other))) return false;
    const platform::Result<std::string> a = state_.files.FullPath(path);
    const platform::Result<std::string> b = state_.files.FullPath(other);
    return a && b && SameIgnoringCase(*a, *b);
  };
  return same(state_.archive_name) || same(state_.work_name);
}

void MemberAdding::FillRecord(const std::string& stored, int input) {
  const std::int16_t status_word = record_.status_word;
  record_ = NewMemberRecord(stored, input);
  record_.status_word = status_word;
}

MemberRecord MemberAdding::NewMemberRecord(const std::string& stored, int input) {
  MemberRecord record;
  record.set_name(stored);
  record.input_slot = input;
  record.output_slot = state_.work_slot;
  record.made_by_version = kLibraryVersion;
  record.needed_version = kNeededOrdinary;
  record.host_code = kOwnHostCode;
  record.method = kMethodCompressed;
  record.flags = TextTestFlags(state_.slots, input);
  record.set_volume_number(static_cast<std::uint8_t>(state_.current_volume));
  return record;
}

}  // namespace qv::archive
