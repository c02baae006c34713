#include "tools/qvpkg/package_archive.h"

#include <utility>

#include "archive/archive_library.h"
#include "tools/qvpkg/package_folder.h"

namespace qv::qvpkg {
namespace {

using archive::ArchiveLibrary;

// Keeps the first error the library reports, with the member it concerns.
class ErrorWatch {
 public:
  ProgressCallback Callback(ProgressCallback next = nullptr) {
    return [this, next](MemberRecord& record, std::int32_t event, std::int32_t value) {
      if (event < 0 && !error_) {
        error_ = std::string(record.name_view()) + ": " + std::string(StatusMessage(event));
      }
      return next ? next(record, event, value) : 0;
    };
  }

  // Throws for a failed call, naming the first error heard of.
  void Check(Status status, std::string_view archive_path) const {
    if (status == Status::kOk && !error_) return;
    throw PackageError(std::string(archive_path) + ": " +
                       (error_ ? *error_ : std::string(StatusMessage(status))));
  }

 private:
  std::optional<std::string> error_;
};

}  // namespace

void PackDriveC(platform::Files& files, std::string_view archive_path, bool best,
                ProgressCallback progress) {
  ArchiveLibrary library(files);
  ErrorWatch watch;
  library.ArchiveInit();
  library.ArchiveSetBestCompression(best);
  library.ArchiveSetCallback(archive::kProgressCallbackCode, watch.Callback(std::move(progress)));
  watch.Check(library.ArchiveOpen(archive_path, archive::kModeKeepPaths), archive_path);
  // A wildcard in keep-paths mode takes every folder below C:\ too.
  Status status = library.ArchiveSelectAdd("C:\\*.*");
  if (status == Status::kOk) status = library.ArchiveProcess();
  const Status closed = library.ArchiveClose();
  watch.Check(status != Status::kOk ? status : closed, archive_path);
}

std::vector<ArchiveMember> ListArchive(platform::Files& files, std::string_view archive_path) {
  std::vector<ArchiveMember> members;
  ArchiveLibrary library(files);
  ErrorWatch watch;
  library.ArchiveInit();
  // Every member is noted and passed over at its event 44: nothing is
  // written.
  library.ArchiveSetCallback(
      archive::kProgressCallbackCode,
      watch.Callback([&members](MemberRecord& record, std::int32_t event, std::int32_t) {
        if (event != event::kAboutToExtract) return 0;
        members.push_back({std::string(record.name_view()), record.unpacked_size,
                           record.packed_size, record.method, record.crc});
        return 1;
      }));
  watch.Check(library.ArchiveCheck(archive_path), archive_path);
  watch.Check(library.ArchiveOpen(archive_path, archive::kModeKeepPaths | archive::kModeReadOnly),
              archive_path);
  library.ArchiveSelectExtract("*.*", "");
  const Status walked = library.ArchiveProcess();
  library.ArchiveClose();
  watch.Check(walked, archive_path);
  return members;
}

}  // namespace qv::qvpkg
