#include "archive/archive_walk.h"

#include "archive/archive_names.h"
#include "archive/drive_info.h"
#include "archive/member_adding.h"
#include "archive/member_extraction.h"
#include "archive/member_header.h"
#include "archive/signature_search.h"
#include "archive/threaded_work.h"
#include "archive/volume_reading.h"

namespace qv::archive {
namespace {

// Points the library's state at a walk's decoding ahead while it lasts, also
// when a power cut's exception goes through the walk.
class AheadInUse {
 public:
  AheadInUse(LibraryState& state, MembersAhead& ahead) : state_(state) {
    state_.decode_ahead = &ahead;
  }
  ~AheadInUse() { state_.decode_ahead = nullptr; }
  AheadInUse(const AheadInUse&) = delete;
  AheadInUse& operator=(const AheadInUse&) = delete;

 private:
  LibraryState& state_;
};

}  // namespace

std::int64_t ArchiveWalk::FindStart() {
  const std::int64_t found =
      FindSignature(state_.slots, state_.archive_slot, kEmbeddedSearchLimit, [this] {
        return state_.RaiseScratch(event::kSearchBlock, 0).status_word != kStatusWordCancel;
      });
  return found < 0 ? 0 : found;
}

Status ArchiveWalk::Run() {
  for (SelectionEntry& entry : state_.selection.entries()) {
    if (entry.kind == EntryKind::kAdd) entry.stored_folder = StoredFolderOf(state_, entry.pattern);
  }
  changes_ = update() && state_.selection.Holds(EntryKind::kDelete);
  start_ = FindStart();
  if (update()) {
    std::set<std::string> names;
    if (const Status scanned = ScanMembers(names); scanned != Status::kOk) return Finish(scanned);
    if (state_.selection.Holds(EntryKind::kAdd)) {
      const int volume = state_.current_volume;
      const Status added = MemberAdding(state_, record_, names, names.empty()).CarryOut();
      if (added != Status::kOk) return Finish(added);
      if (state_.current_volume != volume) start_ = 0;  // a new disk's archive file
      changes_ = true;
    }
  }
  state_.slots.Seek(state_.archive_slot, start_, platform::SeekOrigin::kBegin);
  return Finish(WalkMembersWithDecodingAhead());
}

Status ArchiveWalk::WalkMembersWithDecodingAhead() {
  // Volumes are read one after the other, and an update reads in place.
  if (update() || state_.threaded == nullptr || state_.threads <= 1 ||
      !state_.selection.Holds(EntryKind::kExtract) ||
      IsRemovableDrive(state_.files, DriveOfPath(state_.files, state_.archive_name))) {
    return WalkMembers();
  }
  const std::unique_ptr<MembersAhead> ahead = state_.threaded->decode_ahead(state_, state_.threads);
  const AheadInUse in_use(state_, *ahead);
  return WalkMembers();
}

Status ArchiveWalk::ScanMembers(std::set<std::string>& names) {
  FileSlots& slots = state_.slots;
  slots.Seek(state_.archive_slot, start_, platform::SeekOrigin::kBegin);
  MemberRecord member;
  Status status = Status::kOk;
  while (true) {
    const std::int64_t header_at = slots.Tell(state_.archive_slot);
    status = ReadMemberHeader(slots, state_.archive_slot, member);
    if (status != Status::kOk) {
      const bool empty = header_at == start_ && slots.Length(state_.archive_slot) <= start_;
      if (status == Status::kEndOfArchive || empty) status = Status::kOk;
      break;
    }
    if ((member.flags & kFlagContinued) != 0) {
      status = Status::kNotSupported;
      break;
    }
    names.insert(UpperAscii(member.name_view()));
    slots.Seek(state_.archive_slot, member.packed_size, platform::SeekOrigin::kCurrent);
  }
  slots.Seek(state_.archive_slot, start_, platform::SeekOrigin::kBegin);
  return status;
}

Status ArchiveWalk::WalkMembers() {
  FileSlots& slots = state_.slots;
  // A walk may go back to the first volume once, before its first member.
  bool may_go_back = true;
  while (true) {
    const std::int64_t header_at = slots.Tell(state_.archive_slot);
    const Status read = ReadMemberHeader(slots, state_.archive_slot, record_);
    if (read != Status::kOk) {
      clean_end_ = read == Status::kEndOfArchive ||
                   (header_at == start_ && slots.Length(state_.archive_slot) <= start_);
      return clean_end_ ? Status::kOk : read;
    }
    const std::int64_t data_at = slots.Tell(state_.archive_slot);
    if (state_.decode_ahead != nullptr) state_.decode_ahead->Reached(data_at, record_.packed_size);
    if ((record_.flags & kFlagContinued) != 0) {
      if (update()) return Status::kNotSupported;
      if (record_.volume_number() != static_cast<std::uint8_t>(state_.current_volume)) {
        // The member began on a volume this walk has not read.
        if (!may_go_back || !BackToFirstVolume()) return Status::kError;
        may_go_back = false;
        continue;
      }
    }
    may_go_back = false;
    bool leave = false;
    if (const Status handled = HandleMember(data_at, leave); handled != Status::kOk) {
      return handled;
    }
    if (record_.status_word != 0) {
      if (record_.status_word != kStatusWordCancel) record_.status_word = kStatusWordStop;
      return Status::kOk;
    }
    if (leave) return Status::kOk;
  }
}

bool ArchiveWalk::BackToFirstVolume() {
  if (!IsRemovableDrive(state_.files, DriveOfPath(state_.files, state_.archive_name))) return false;
  state_.current_volume = -1;
  if (VolumeReader(state_, record_).NextVolume() != Status::kOk) return false;
  state_.slots.Seek(state_.archive_slot, 0, platform::SeekOrigin::kBegin);
  start_ = FindStart();
  state_.slots.Seek(state_.archive_slot, start_, platform::SeekOrigin::kBegin);
  return true;
}

Status ArchiveWalk::HandleMember(std::int64_t data_at, bool& leave) {
  const MemberRecord stored = record_;
  SelectionEntry* entry = state_.selection.FirstMatch(record_.name_view(), state_.keep_paths);
  bool consumed = false;  // the archive stands behind the member's data
  Status status = Status::kOk;
  if (entry == nullptr || entry->done) {
    if (changes_) status = CopyMember(stored);
    consumed = changes_;
  } else if (entry->kind == EntryKind::kExtract) {
    const ExtractionOutcome outcome = MemberExtraction(state_, record_).Extract(*entry);
    if (outcome.failed) return Status::kError;
    consumed = outcome.consumed;
    if (changes_) {
      // The copy keeps the member's stored name, not the extraction's target.
      record_.set_name(stored.name_view());
      state_.slots.Seek(state_.archive_slot, data_at, platform::SeekOrigin::kBegin);
      status = CopyMember(stored);
      consumed = true;
    }
  } else if (update() && entry->kind == EntryKind::kDelete) {
    status = DeleteMember(stored, consumed);
  }
  // An add entry's member is dropped: the file added in its place replaces it.
  if (status != Status::kOk) return status;
  if (entry != nullptr) Selection::NoteMatched(*entry);
  leave = state_.selection.AllDone() && !changes_;
  return consumed ? Status::kOk : PassOver(stored, data_at);
}

Status ArchiveWalk::DeleteMember(const MemberRecord& stored, bool& consumed) {
  if ((record_.flags & kFlagEncrypted) != 0) {
    state_.Raise(record_, event::kEncrypted, 0);
    if ((record_.flags & kFlagEncrypted) != 0) {
      state_.Raise(record_, ToInt(Status::kEncrypted), 0);
      consumed = true;
      return CopyMember(stored);
    }
  }
  state_.Raise(record_, event::kDeleted, 0);
  state_.modified = true;
  return Status::kOk;
}

Status ArchiveWalk::CopyMember(const MemberRecord& stored) {
  MemberRecord header = stored;
  const Status written = WriteMemberHeader(state_.slots, state_.work_slot, header);
  if (written != Status::kOk) return written;
  const Status copied =
      CopyBetweenSlots(state_, record_, state_.archive_slot, state_.work_slot, stored.packed_size);
  // A cancel ends the walk through the status word; the update is then not
  // carried out.
  return copied == Status::kCanceled ? Status::kOk : copied;
}

Status ArchiveWalk::PassOver(const MemberRecord& stored, std::int64_t data_at) {
  if ((stored.flags & kFlagContinued) == 0) {
    state_.slots.Seek(state_.archive_slot, data_at + stored.packed_size,
                      platform::SeekOrigin::kBegin);
    return Status::kOk;
  }
  state_.slots.Seek(state_.archive_slot, data_at, platform::SeekOrigin::kBegin);
  return VolumeReader(state_, record_).PassMember(stored.packed_size, -1) == Status::kOk
             ? Status::kOk
             : Status::kError;
}

Status ArchiveWalk::Finish(Status ended) {
  if (ended == Status::kError) {
    // A failed extraction: the archive stays open until ArchiveClose.
    state_.keep_archive = state_.keep_archive || update();
    state_.Raise(record_, event::kProcessEnds, 0);
    return Status::kError;
  }
  if (record_.status_word == kStatusWordCancel) state_.Raise(record_, event::kCanceled, 0);
  if (record_.status_word == kStatusWordStop) state_.Raise(record_, event::kStopped, 0);
  // A walk that never met the end marker did not see the whole archive, in
  // any mode: whoever installs or tests what it extracted must know. The
  // event names the archive: no member is to blame.
  if (ended != Status::kOk) state_.RaiseScratch(ToInt(ended), 0, state_.archive_name);
  Status result = ended;
  if (update() && !state_.keep_archive) {
    if (ended != Status::kOk || (!clean_end_ && (changes_ || state_.modified))) {
      state_.keep_archive = true;
    } else if (state_.modified) {
      result = WriteEndMarker(state_.slots, state_.work_slot, record_);
      state_.keep_archive = result != Status::kOk;
    }
  }
  state_.open = false;
  state_.Raise(record_, event::kProcessEnds, 0);
  return result;
}

}  // namespace qv::archive
