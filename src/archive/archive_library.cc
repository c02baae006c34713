#include "archive/archive_library.h"

#include <algorithm>

#include "archive/archive_names.h"
#include "archive/archive_walk.h"
#include "archive/member_header.h"
#include "archive/signature_search.h"
#include "archive/wildcard.h"

namespace qv::archive {

Status ArchiveLibrary::ArchiveInit() {
  state_.current_volume = 0;
  state_.cached_free_space = 0;
  return Status::kOk;
}

Status ArchiveLibrary::ArchiveSetCallback(std::int32_t code, ProgressCallback callback) {
  if (code == kProgressCallbackCode) {
    state_.progress = std::move(callback);
  } else if (code == kOverwriteCallbackCode) {
    state_.overwrite = std::move(callback);
  } else {
    return Status::kBadArgument;
  }
  return Status::kOk;
}

std::int64_t ArchiveLibrary::EmbeddedStart(const std::string& name) {
  const int slot = state_.slots.Open(name, open_mode::kReadOnly);
  if (slot < 0) {
    return state_.files.Access(name, platform::AccessCheck::kExists) ? ToInt(Status::kCannotOpen)
                                                                     : ToInt(Status::kFileNotFound);
  }
  const std::int64_t found = FindSignature(state_.slots, slot, kEmbeddedSearchLimit, [this] {
    return state_.RaiseScratch(event::kSearchBlock, 0).status_word != kStatusWordCancel;
  });
  state_.slots.Close(slot);
  return found;
}

Status ArchiveLibrary::ArchiveCheck(OptionalName name) {
  if (!name) return Status::kBadArgument;
  const std::string file = ArchiveFileName(*name);
  std::int64_t start = 0;
  if (!EndsWithArq(file)) start = std::max<std::int64_t>(0, EmbeddedStart(file));
  if (!state_.files.Access(file, platform::AccessCheck::kExists)) return Status::kFileNotFound;
  const int slot = state_.slots.Open(file, open_mode::kReadOnly);
  if (slot < 0) return Status::kCannotOpen;
  MemberRecord scratch;
  state_.slots.Seek(slot, start, platform::SeekOrigin::kBegin);
  const Status header = ReadMemberHeader(state_.slots, slot, scratch);
  state_.slots.Close(slot);
  return header == Status::kOk || header == Status::kEndOfArchive ? Status::kOk
                                                                  : Status::kNotAnArchive;
}

Status ArchiveLibrary::ArchiveOpen(OptionalName name, std::uint32_t mode) {
  if (!name) return Status::kBadArgument;
  if (state_.open) return Status::kAlreadyOpen;
  // An archive processed but never closed is closed first, as ArchiveClose
  // would, so that its work archive is neither lost nor left behind.
  if (!state_.archive_name.empty()) ArchiveClose();
  const std::string file = ArchiveFileName(UpperAscii(*name));
  state_.current_volume = 0;
  state_.cached_free_space = 0;
  std::int64_t leading = 0;
  if (!EndsWithArq(file)) {
    leading = EmbeddedStart(file);
    if (leading == ToInt(Status::kFileNotFound)) leading = 0;
    if (leading < 0) return static_cast<Status>(leading);
  }
  state_.keep_paths = (mode & kModeKeepPaths) != 0;
  state_.read_only = (mode & kModeReadOnly) != 0;
  state_.archive_name = file;
  state_.archive_slot =
      state_.slots.Open(file, state_.read_only ? open_mode::kReadOnly : open_mode::kReadAppend);
  if (state_.archive_slot < 0) {
    state_.Reset();
    return Status::kCannotOpen;
  }
  state_.modified = false;
  if (!state_.read_only) {
    const std::optional<std::string> work =
        state_.temporary_names.Next(state_.files, FolderOf(file));
    state_.work_slot = work ? state_.slots.Open(*work, open_mode::kWriteNew) : -1;
    Status failed = state_.work_slot < 0 ? Status::kCannotCreate : Status::kOk;
    if (failed == Status::kOk) {
      state_.work_name = *work;
      failed = CopyLeadingBytes(leading);
    }
    if (failed != Status::kOk) {
      // Only what this call made goes: the archive itself is never deleted
      // here (an empty one it created aside).
      Release();
      return failed;
    }
  }
  state_.open = true;
  state_.RaiseScratch(event::kOpened, 0);
  return Status::kOk;
}

Status ArchiveLibrary::CopyLeadingBytes(std::int64_t count) {
  if (count == 0) return Status::kOk;
  MemberRecord scratch;
  state_.slots.Seek(state_.archive_slot, 0, platform::SeekOrigin::kBegin);
  return CopyBetweenSlots(state_, scratch, state_.archive_slot, state_.work_slot, count);
}

Status ArchiveLibrary::AppendEntry(EntryKind kind, OptionalName pattern,
                                   std::string_view destination) {
  if (!state_.open) return Status::kNotAnArchive;
  if (!IsValidPattern(*pattern)) return Status::kBadArgument;
  SelectionEntry entry;
  entry.kind = kind;
  entry.pattern = UpperAscii(*pattern);
  entry.destination = DestinationFolder(destination);
  state_.selection.Append(std::move(entry));
  return Status::kOk;
}

Status ArchiveLibrary::ArchiveSelectExtract(OptionalName pattern, OptionalName destination) {
  if (!pattern || !destination) return Status::kBadArgument;
  return AppendEntry(EntryKind::kExtract, pattern, *destination);
}

Status ArchiveLibrary::ArchiveSelectAdd(OptionalName pattern) {
  if (!pattern) return Status::kBadArgument;
  return AppendEntry(EntryKind::kAdd, pattern, {});
}

Status ArchiveLibrary::ArchiveSelectDelete(OptionalName pattern) {
  if (!pattern) return Status::kBadArgument;
  return AppendEntry(EntryKind::kDelete, pattern, {});
}

Status ArchiveLibrary::ArchiveProcess() {
  if (!state_.open) return Status::kNotAnArchive;
  if (!state_.slots.Valid(state_.archive_slot)) return Status::kCannotOpen;
  if (!state_.read_only && !state_.slots.Valid(state_.work_slot)) return Status::kCannotCreate;
  MemberRecord record;
  record.input_slot = state_.archive_slot;
  record.output_slot = state_.read_only ? -1 : state_.work_slot;
  state_.Raise(record, event::kProcessBegins, 0);
  return ArchiveWalk(state_, record).Run();
}

Status ArchiveLibrary::ArchiveClose() {
  const Status result = Release();
  state_.RaiseScratch(event::kClosed, 0);
  return result;
}

Status ArchiveLibrary::Release() {
  platform::Files& files = state_.files;
  state_.slots.Close(state_.archive_slot);
  // A stream may hold written bytes back until it closes, and fail there.
  const bool work_written =
      state_.work_slot < 0 || state_.slots.Close(state_.work_slot) == Status::kOk;
  state_.archive_slot = state_.work_slot = -1;
  Status result = Status::kOk;
  if (!state_.work_name.empty()) {
    if (state_.modified && !state_.keep_archive) {
      // One replacing rename: there is no moment without either archive.
      if (!work_written ||
          !files.Move(state_.work_name, state_.archive_name, /*replace_existing=*/true)) {
        result = Status::kWriteError;
      }
    }
    if (files.Access(state_.work_name, platform::AccessCheck::kExists)) {
      files.Remove(state_.work_name);
    }
  }
  if (!state_.archive_name.empty()) {
    const platform::Result<platform::FileStatus> archive = files.Status(state_.archive_name);
    if (archive && archive->size == 0) files.Remove(state_.archive_name);
  }
  state_.Reset();
  return result;
}

}  // namespace qv::archive
