#include "tools/arq/archive_session.h"

#include <algorithm>

#include "archive/archive_names.h"
#include "codec/status.h"

namespace qv::arq {

ArchiveSession::ArchiveSession(HostDrives& drives, bool show_progress)
    : drives_(drives),
      bar_(show_progress),
      scratch_(drives.DosPath(drives.scratch()).value_or("")) {}

ProgressCallback ArchiveSession::Callback() {
  return [this](MemberRecord& record, std::int32_t event, std::int32_t value) {
    const std::int32_t answer = hook_ ? hook_(record, event, value) : 0;
    Handle(record, event, value);
    return answer;
  };
}

std::string MemberName(std::string_view name) {
  std::string shown(name);
  std::replace(shown.begin(), shown.end(), '\\', '/');
  return shown;
}

std::string ArchiveSession::Shown(const MemberRecord& record) const {
  std::string_view name = record.name_view();
  if (!destination_.empty() &&
      archive::SameIgnoringCase(name.substr(0, destination_.size()), destination_)) {
    name.remove_prefix(destination_.size());
  } else if (name.size() >= 2 && name[1] == ':') {
    return drives_.HostPath(name);
  }
  return MemberName(name);
}

void ArchiveSession::MemberFailed(std::string_view name, std::string_view what) {
  bar_.Clear();
  Complain(std::string(name) + ": " + std::string(what), 0);
  ++failures_;
}

void ArchiveSession::AskedForDisk(MemberRecord& record, int number) {
  if (drives_.InsertDisk(number)) return;
  // No such disk: cancelling ends the library's prompts at once.
  record.status_word = kStatusWordCancel;
  if (!out_of_disks_) {
    bar_.Clear();
    Complain("disk " + std::to_string(number) + " is needed, but " +
                 std::to_string(drives_.disk_count()) + " were given",
             0);
  }
  out_of_disks_ = true;
}

void ArchiveSession::Handle(MemberRecord& record, std::int32_t event, std::int32_t value) {
  switch (event) {
    case event::kInsertNextDisk:
      AskedForDisk(record, next_disk_++);
      break;
    case event::kInsertVolume:
      AskedForDisk(record, value);
      break;
    case event::kGatheringName:
      if (!scratch_.empty()) {
        record.set_name(archive::DestinationFolder(scratch_) +
                        std::string(archive::FilePart(record.name_view())));
      }
      break;
    case event::kAddProgress:
    case event::kReplaceProgress:
    case event::kExtractProgress:
    case event::kUnstoreBegins:
      bar_.Show(Shown(record), static_cast<std::uint32_t>(value), record.unpacked_size);
      break;
    case event::kAdded:
    case event::kExtractWritten:
      bar_.Finished(record.unpacked_size);
      break;
    case event::kRenameFailed:
      MemberFailed(Shown(record), "could not take the place of the file there");
      break;
    case event::kUnsupportedMethod:
      MemberFailed(Shown(record), "method " + std::to_string(record.method) + " not supported");
      break;
    case event::kVolumeCreateFailed:
      bar_.Clear();
      Complain(std::string(StatusMessage(value)), 0);
      break;
    case event::kCanceled:
      bar_.Clear();
      Complain(StatusMessage(Status::kCanceled), 0);
      break;
    default:
      if (event < 0) MemberFailed(Shown(record), StatusMessage(event));
  }
}

}  // namespace qv::arq
