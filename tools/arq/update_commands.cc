// arq a (add or replace files) and arq d (delete members): the archive is
// rewritten through the library's work archive and replaced only when the
// update went through whole.
#include <filesystem>
#include <set>

#include "archive/archive_names.h"
#include "tools/arq/archive_command.h"
#include "tools/arq/command_groups.h"

namespace qv::arq {
namespace {

namespace fs = std::filesystem;
using archive::ArchiveLibrary;

// Opens the archive for an update: kExitOk, or the exit code after a
// message. An archive that is there must be one.
int OpenForUpdate(ArchiveLibrary& library, HostDrives& drives, const std::string& name,
                  const ArchiveOptions& options, bool must_exist) {
  platform::Files& files = drives.files();
  const bool exists = files.Access(name, platform::AccessCheck::kExists).ok();
  if (exists || must_exist) {
    if (const Status checked = library.ArchiveCheck(name); checked != Status::kOk) {
      return Complain(options.archive + ": " + std::string(StatusMessage(checked)), kExitUsage);
    }
  } else {
    // Made here in the case the user wrote; the library keeps that name.
    files.Open(name, "ab");
  }
  const std::uint32_t mode = options.junk_paths ? 0 : archive::kModeKeepPaths;
  if (const Status opened = library.ArchiveOpen(name, mode); opened != Status::kOk) {
    return Complain(options.archive + ": " + std::string(StatusMessage(opened)), kExitFailed);
  }
  return kExitOk;
}

// Removes what a failed first write of an archive left on the disks: its
// volumes (named in any case) and work archives.
void RemoveVolumes(const ArchiveOptions& options) {
  const std::string volume = fs::path(options.archive).filename().string();
  std::error_code error;
  for (const std::string& disk : options.disks) {
    for (const auto& entry : fs::directory_iterator(disk, error)) {
      const std::string name = entry.path().filename().string();
      if (archive::SameIgnoringCase(name, volume) || name.starts_with("ZT")) {
        fs::remove(entry.path(), error);
      }
    }
  }
}

using Select = Status (ArchiveLibrary::*)(archive::OptionalName);

// Opens the archive, puts an entry for every item of the command line on
// the list with `select`, walks and closes: kExitOk, or the exit code after
// a message.
int RunUpdate(HostDrives& drives, ArchiveSession& session, const ArchiveOptions& options,
              bool must_exist, Select select) {
  const std::optional<std::string> name = ArchiveDosName(drives, options);
  if (!name) return Complain(options.archive + ": no drive reaches it", kExitUsage);
  ArchiveLibrary library(drives.files());
  library.ArchiveSetCallback(archive::kProgressCallbackCode, session.Callback());
  library.SetThreads(options.threads);
  library.ArchiveSetBestCompression(options.best);
  if (const int failed = OpenForUpdate(library, drives, *name, options, must_exist)) return failed;
  for (const std::string& item : options.items) {
    const std::optional<std::string> pattern = LibraryPattern(drives, item);
    if (!pattern || (library.*select)(*pattern) != Status::kOk) {
      library.ArchiveClose();
      return Complain(item + ": " + std::string(StatusMessage(Status::kBadArgument)), kExitUsage);
    }
  }
  const Status walked = library.ArchiveProcess();
  const Status closed = library.ArchiveClose();
  session.ClearProgress();
  if (walked == Status::kOk && closed == Status::kOk) return kExitOk;
  return Complain(options.archive + ": " +
                      std::string(StatusMessage(walked != Status::kOk ? walked : closed)) +
                      " (the archive is as it was)",
                  kExitFailed);
}

}  // namespace

int AddToArchive(const ArchiveOptions& options) {
  std::error_code error;
  for (const std::string& disk : options.disks)
    fs::create_directories(disk, error);
  HostDrives drives(DrivesFor(options));
  const std::optional<std::string> name = ArchiveDosName(drives, options);
  const bool existed = name && drives.files().Access(*name, platform::AccessCheck::kExists).ok();
  ArchiveSession session(drives, ShowProgress(options));
  std::set<std::string> empty_patterns;
  session.SetHook([&](MemberRecord& record, std::int32_t event, std::int32_t value) {
    if (event == event::kAddEntryDone && value == 0) empty_patterns.emplace(record.name_view());
    return 0;
  });
  const int ran = RunUpdate(drives, session, options, false, &ArchiveLibrary::ArchiveSelectAdd);
  if (ran == kExitUsage) return ran;
  for (const std::string& pattern : empty_patterns)
    session.MemberFailed(pattern, "no file to add");
  const bool failed = ran != kExitOk || session.failures() > 0;
  if (failed && !existed && !options.disks.empty()) RemoveVolumes(options);
  return failed ? kExitFailed : kExitOk;
}

int DeleteFromArchive(const ArchiveOptions& options) {
  HostDrives drives(DrivesFor(options));
  ArchiveSession session(drives, ShowProgress(options));
  int deleted = 0;
  session.SetHook([&](MemberRecord&, std::int32_t event, std::int32_t) {
    deleted += event == event::kDeleted ? 1 : 0;
    return 0;
  });
  if (const int failed =
          RunUpdate(drives, session, options, true, &ArchiveLibrary::ArchiveSelectDelete)) {
    return failed;
  }
  if (deleted == 0) return Complain(options.archive + ": no member matched", kExitFailed);
  return session.failures() > 0 ? kExitFailed : kExitOk;
}

}  // namespace qv::arq
