#include "tools/arq/archive_command.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "archive/archive_names.h"
#include "tools/arq/command_groups.h"

namespace qv::arq {

namespace fs = std::filesystem;

DriveOptions DrivesFor(const ArchiveOptions& options) {
  DriveOptions drives;
  if (!options.c_folder.empty()) drives.c_folder = options.c_folder;
  drives.disks.assign(options.disks.begin(), options.disks.end());
  drives.disk_size = options.disk_size;
  return drives;
}

std::optional<std::string> ArchiveDosName(HostDrives& drives, const ArchiveOptions& options) {
  if (drives.disk_count() > 0) return "A:\\" + fs::path(options.archive).filename().string();
  return drives.DosPath(options.archive);
}

std::optional<std::string> LibraryPattern(HostDrives& drives, const std::string& item) {
  const fs::path path(item);
  if (path.is_absolute()) {
    const std::optional<std::string> folder = drives.DosPath(path.parent_path());
    if (!folder) return std::nullopt;
    return *folder + (folder->back() == '\\' ? "" : "\\") + path.filename().string();
  }
  std::string pattern = item;
  std::replace(pattern.begin(), pattern.end(), '/', '\\');
  return pattern;
}

int WalkEnded(const ArchiveOptions& options, const ArchiveSession& session, Status walked) {
  if (walked == Status::kOk) return session.failures() > 0 ? kExitFailed : kExitOk;
  if (session.failures() == 0 && !session.out_of_disks()) {
    Complain(
        options.archive + ": could not be read through" +
            (options.disks.empty() ? " (if it is one volume of several, give the disks with --disk)"
                                   : ""),
        0);
  }
  return kExitFailed;
}

bool ShowProgress(const ArchiveOptions& options) {
  return !options.quiet && ::isatty(STDERR_FILENO) == 1;
}

}  // namespace qv::arq
