#include "archive/member_extraction.h"

#include "archive/archive_names.h"
#include "archive/member_expansion.h"
#include "platform/file_types.h"

namespace qv::archive {
namespace {

constexpr std::int32_t kLow16 = 0xFFFF;

// The target the callback left in the record at event 44: the text up to
// its first zero byte, so that a callback writing a C string into the name
// field is understood as well as one that sets the length.
std::string TargetInRecord(const MemberRecord& record) {
  const std::string_view name = record.name_view();
  return std::string(name.substr(0, name.find('\0')));
}

// Whether the target stays below the entry's destination: the part after
// the destination is checked as a stored name would be, whoever wrote it.
bool IsSafeTarget(const std::string& target, const std::string& destination) {
  if (target.size() > MemberRecord::kMaxPathLength || target.size() < destination.size() ||
      !SameIgnoringCase(std::string_view(target).substr(0, destination.size()), destination)) {
    return false;
  }
  return IsContainedMemberPath(std::string_view(target).substr(destination.size()));
}

}  // namespace

ExtractionOutcome MemberExtraction::Extract(const SelectionEntry& entry) {
  const std::string stored(record_.name_view());
  const std::string_view placed = state_.keep_paths ? std::string_view(stored) : FilePart(stored);
  record_.output_slot = -1;
  record_.set_name(entry.destination + std::string(placed));
  if ((state_.Raise(record_, event::kAboutToExtract, 0) & kLow16) != 0) return {};
  // A name the callback changed takes effect at once, under the same checks.
  const std::string target = TargetInRecord(record_);
  record_.set_name(target);
  if (!IsSafeTarget(target, entry.destination)) {
    state_.Raise(record_, ToInt(Status::kCannotCreate), 0);
    return {};
  }
  if (!MayWriteTarget(target)) return {};
  if ((record_.flags & kFlagEncrypted) != 0) {
    state_.Raise(record_, event::kEncrypted, 0);
    if ((record_.flags & kFlagEncrypted) != 0) {
      state_.Raise(record_, ToInt(Status::kEncrypted), 0);
      return {};
    }
  }
  if (record_.method != kMethodStored && record_.method != kMethodCompressed) {
    state_.Raise(record_, event::kUnsupportedMethod, 0);
    return {};
  }
  MakeFolders(target);
  const std::optional<std::string> temporary =
      state_.temporary_names.Next(state_.files, FolderOf(target));
  const int output = temporary ? state_.slots.Open(*temporary, open_mode::kWriteNew) : -1;
  if (output < 0) {
    state_.Raise(record_, ToInt(Status::kCannotCreate), 0);
    return {};
  }
  record_.output_slot = output;
  ExtractionOutcome outcome;
  Status status = MemberExpansion(state_, record_).Expand(output, target, outcome.consumed);
  if (state_.slots.Close(output) != Status::kOk && status == Status::kOk) {
    state_.Raise(record_, ToInt(Status::kWriteError), 0);
    status = Status::kWriteError;
  }
  record_.output_slot = -1;
  if (status != Status::kOk) {
    state_.files.Remove(*temporary);
    outcome.failed = true;
    return outcome;
  }
  PutInPlace(*temporary, target);
  return outcome;
}

bool MemberExtraction::MayWriteTarget(const std::string& target) {
  platform::Files& files = state_.files;
  const platform::Result<platform::AttributeWord> attributes = files.GetAttributes(target);
  if (!attributes) return true;
  if ((*attributes & platform::attribute::kReadOnly) == 0) {
    return !state_.overwrite || (state_.overwrite(record_, 0, 0) & kLow16) != 0;
  }
  state_.Raise(record_, event::kTargetReadOnly, 0);
  if (files.Access(target, platform::AccessCheck::kWrite)) return true;
  state_.Raise(record_, event::kTargetReadOnly, 1);
  return false;
}

void MemberExtraction::MakeFolders(const std::string& target) {
  std::string_view folder = FolderOf(target);
  if (folder.empty() || folder.back() == ':') return;  // the current folder of a drive
  if (folder.size() > 1 && folder[folder.size() - 2] != ':') folder.remove_suffix(1);
  const platform::Result<platform::AttributeWord> attributes = state_.files.GetAttributes(folder);
  if (attributes && (*attributes & platform::attribute::kDirectory) != 0) return;
  for (std::size_t at = target.find('\\'); at != std::string::npos;
       at = target.find('\\', at + 1)) {
    if (at > 0 && target[at - 1] != ':') state_.files.MakeFolder(target.substr(0, at));
  }
}

void MemberExtraction::PutInPlace(const std::string& temporary, const std::string& target) {
  platform::Files& files = state_.files;
  // One replacing rename: there is no moment without either file.
  if (!files.Move(temporary, target, /*replace_existing=*/true)) {
    state_.Raise(record_, event::kRenameFailed, 0);
    files.Remove(temporary);
    return;
  }
  // The times are set by opening the file for writing, which a read-only
  // file refuses: it keeps the time of its extraction. (The temporary file
  // was made writable, so a writable member needs no attribute change.)
  if ((record_.mode & platform::mode::kWrite) == 0) {
    files.SetWritable(target, false);
    return;
  }
  files.SetTimes(target, record_.modification_time, record_.modification_time);
}

}  // namespace qv::archive
