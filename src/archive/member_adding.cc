#include "archive/member_adding.h"

#include "archive/archive_names.h"
#include "archive/disk_spanning.h"
#include "archive/drive_info.h"
#include "archive/file_search.h"
#include "archive/member_header.h"
#include "archive/new_member.h"
#include "archive/text_test.h"

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
  std::int32_t added = 0;
  for (const std::string& path : SearchFiles(state_, entry.pattern)) {
    if (IsArchiveOrWork(path)) continue;
    const std::optional<std::string> stored = StoredNameOf(state_, path);
    if (!stored || stored->empty() || !added_.insert(*stored).second) continue;
    if (stored->size() > kMaxStoredNameLength) {
      record_.set_name(path);
      state_.Raise(record_, ToInt(Status::kBadArgument), 0);
      continue;
    }
    const int input = state_.slots.Open(path, open_mode::kReadOnly);
    if (input < 0) continue;  // passed over without an event
    const Status status = AddFile(input, *stored);
    if (status == Status::kOk) {
      ++added;
    } else if (record_.status_word == 0) {
      record_.status_word = 1;
    }
    if (state_.keep_archive) {
      failure_ = status;
      break;
    }
    if (record_.status_word != 0) {
      if (record_.status_word == kStatusWordCancel || record_.status_word == kStatusWordStop) {
        state_.Raise(record_, event::kCanceled, 0);
      }
      record_.status_word = 0;
      break;
    }
  }
  return added;
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
  record_ = MemberRecord{};
  record_.status_word = status_word;
  record_.set_name(stored);
  record_.input_slot = input;
  record_.output_slot = state_.work_slot;
  record_.made_by_version = kLibraryVersion;
  record_.needed_version = kNeededOrdinary;
  record_.host_code = kOwnHostCode;
  record_.method = kMethodCompressed;
  record_.flags = TextTestFlags(state_.slots, input);
  record_.set_volume_number(static_cast<std::uint8_t>(state_.current_volume));
}

}  // namespace qv::archive
