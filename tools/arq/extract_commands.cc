// arq x (extract) and arq t (test: extract into a scratch folder, checking
// every member's CRC, and name the members that fail).
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "archive/archive_names.h"
#include "tools/arq/archive_command.h"
#include "tools/arq/command_groups.h"

namespace qv::arq {
namespace {

namespace fs = std::filesystem;
using archive::ArchiveLibrary;

constexpr char kDestinationDrive = 'X';

// The answer to "replace this file?": -o, -n, or the terminal's.
class OverwriteQuestion {
 public:
  OverwriteQuestion(const ArchiveOptions& options, ArchiveSession& session)
      : options_(options), session_(session) {}

  std::int32_t operator()(MemberRecord& record) {
    if (options_.overwrite || all_) return 1;
    const std::string name = session_.Shown(record);
    if (options_.never_overwrite || none_) return 0;
    if (::isatty(STDIN_FILENO) != 1 || ::isatty(STDERR_FILENO) != 1) {
      session_.MemberFailed(name, "exists, left as it is (-o replaces, -n keeps quietly)");
      return 0;
    }
    session_.ClearProgress();
    std::cerr << "replace " << name << "? [y]es, [n]o, [A]ll, [N]one: " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    all_ = answer == "A";
    none_ = answer == "N";
    return answer == "y" || answer == "Y" || all_ ? 1 : 0;
  }

 private:
  const ArchiveOptions& options_;
  ArchiveSession& session_;
  bool all_ = false;
  bool none_ = false;
};

// Checks and opens the archive read-only: kExitOk, or the exit code after a
// message.
int OpenForReading(ArchiveLibrary& library, const std::optional<std::string>& name,
                   const ArchiveOptions& options, std::uint32_t mode) {
  if (!name) return Complain(options.archive + ": no drive reaches it", kExitUsage);
  if (const Status checked = library.ArchiveCheck(*name); checked != Status::kOk) {
    return Complain(options.archive + ": " + std::string(StatusMessage(checked)), kExitUsage);
  }
  if (const Status opened = library.ArchiveOpen(*name, mode | archive::kModeReadOnly);
      opened != Status::kOk) {
    return Complain(options.archive + ": " + std::string(StatusMessage(opened)), kExitFailed);
  }
  return kExitOk;
}

}  // namespace

int ExtractArchive(const ArchiveOptions& options) {
  HostDrives drives(DrivesFor(options));
  const fs::path destination =
      options.destination.empty() ? fs::current_path() : fs::path(options.destination);
  std::error_code error;
  fs::create_directories(destination, error);
  if (!fs::is_directory(destination, error)) {
    return Complain(destination.string() + ": not a folder arq can write into", kExitUsage);
  }
  // The destination is a drive of its own: the paths the library walks for
  // every member stay short.
  drives.Mount(kDestinationDrive, destination);
  const std::optional<std::string> target = drives.DosPath(destination);
  ArchiveLibrary library(drives.files());
  ArchiveSession session(drives, ShowProgress(options));
  session.SetDestination(archive::DestinationFolder(*target));
  // -o replaces read-only files too: the library lets the callback free them.
  session.SetHook([&](MemberRecord& record, std::int32_t event, std::int32_t value) {
    if (event == event::kTargetReadOnly && value == 0 && options.overwrite) {
      drives.files().SetWritable(record.name_view(), true);
    }
    return 0;
  });
  library.ArchiveSetCallback(archive::kProgressCallbackCode, session.Callback());
  OverwriteQuestion question(options, session);
  library.ArchiveSetCallback(
      archive::kOverwriteCallbackCode,
      [&](MemberRecord& record, std::int32_t, std::int32_t) { return question(record); });
  const std::uint32_t mode = options.junk_paths ? 0 : archive::kModeKeepPaths;
  if (const int failed = OpenForReading(library, ArchiveDosName(drives, options), options, mode)) {
    return failed;
  }
  std::vector<std::string> patterns = options.items;
  if (patterns.empty()) patterns.push_back("*.*");
  for (const std::string& item : patterns) {
    const std::optional<std::string> pattern = LibraryPattern(drives, item);
    if (!pattern || library.ArchiveSelectExtract(*pattern, *target) != Status::kOk) {
      library.ArchiveClose();
      return Complain(item + ": " + std::string(StatusMessage(Status::kBadArgument)), kExitUsage);
    }
  }
  const Status walked = library.ArchiveProcess();
  library.ArchiveClose();
  session.ClearProgress();
  return WalkEnded(options, session, walked);
}

int TestArchive(const ArchiveOptions& options) {
  HostDrives drives(DrivesFor(options));
  const fs::path scratch = drives.scratch() / "test";
  fs::create_directories(scratch);
  drives.Mount(kDestinationDrive, scratch);
  const std::string target = *drives.DosPath(scratch);
  ArchiveLibrary library(drives.files());
  ArchiveSession session(drives, ShowProgress(options));
  session.SetDestination(archive::DestinationFolder(target));
  library.ArchiveSetCallback(archive::kProgressCallbackCode, session.Callback());
  const std::optional<std::string> name = ArchiveDosName(drives, options);
  // A failed member ends the library's walk: the test goes on with a new
  // walk that passes over every member up to and including that one.
  int resume = 0;
  int members = 0;
  std::string extracted;
  session.SetHook([&](MemberRecord& record, std::int32_t event, std::int32_t) {
    if (event != event::kAboutToExtract) return 0;
    if (!extracted.empty()) {
      drives.files().SetWritable(extracted, true);
      drives.files().Remove(extracted);
    }
    extracted = record.name_view();
    return members++ < resume ? 1 : 0;
  });
  while (true) {
    if (const int failed = OpenForReading(library, name, options, archive::kModeKeepPaths)) {
      return failed;
    }
    library.ArchiveSelectExtract("*.*", target);
    members = 0;
    const Status walked = library.ArchiveProcess();
    library.ArchiveClose();
    if (walked == Status::kOk) break;
    if (members <= resume) return WalkEnded(options, session, walked);
    resume = members;
  }
  session.ClearProgress();
  if (session.failures() > 0) {
    return Complain(
        std::to_string(session.failures()) + " of " + std::to_string(members) + " members failed",
        kExitFailed);
  }
  if (!options.quiet) std::cout << members << " members tested, all sound\n";
  return kExitOk;
}

}  // namespace qv::arq
