// arq x (extract) and arq t (test: extract into a scratch folder, checking
// every member's CRC, and name the members that fail).
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "archive/archive_names.h"
#include "tools/arq/archive_command.h"
#include "tools/arq/command_groups.h"
#include "tools/arq/terminal_text.h"

namespace qv::arq {
namespace {

namespace fs = std::filesystem;
using archive::ArchiveLibrary;

constexpr char kDestinationDrive = 'X';

// The answer to "replace this file?": -o, -n, or the terminal's. Without
// either flag and without a terminal, existing files are kept and named.
class OverwriteQuestion {
 public:
  enum class Answer { kReplace, kKeep, kKeepAndName };

  OverwriteQuestion(const ArchiveOptions& options, ArchiveSession& session)
      : options_(options), session_(session) {}

  Answer operator()(const MemberRecord& record, bool read_only) {
    if (options_.overwrite || all_) return Answer::kReplace;
    if (options_.never_overwrite || none_) return Answer::kKeep;
    if (::isatty(STDIN_FILENO) != 1 || ::isatty(STDERR_FILENO) != 1) return Answer::kKeepAndName;
    session_.ClearProgress();
    std::cerr << "replace " << (read_only ? "read-only " : "")
              << TerminalText(session_.Shown(record))
              << "? [y]es, [n]o, [A]ll, [N]one: " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    all_ = answer == "A";
    none_ = answer == "N";
    return answer == "y" || answer == "Y" || all_ ? Answer::kReplace : Answer::kKeep;
  }

 private:
  const ArchiveOptions& options_;
  ArchiveSession& session_;
  bool all_ = false;
  bool none_ = false;
};

constexpr const char* kKeptHint = ", left as it is (-o replaces, -n keeps quietly)";

// Checks and opens the archive read-only: kExitOk, or the exit code after a
// message.
int OpenArchiveForReading(ArchiveLibrary& library, const std::optional<std::string>& name,
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
  library.SetThreads(options.threads);
  ArchiveSession session(drives, ShowProgress(options));
  session.SetDestination(archive::DestinationFolder(*target));
  OverwriteQuestion question(options, session);
  using Answer = OverwriteQuestion::Answer;
  // A read-only target is replaced too when the answer is yes: the library
  // lets the callback make it writable (event 48, then 48 with value 1 when
  // it stays read-only).
  Answer read_only = Answer::kKeep;
  session.SetHook([&](MemberRecord& record, std::int32_t event, std::int32_t value) {
    if (event != event::kTargetReadOnly) return 0;
    if (value == 0) {
      read_only = question(record, true);
      if (read_only == Answer::kReplace) drives.files().SetWritable(record.name_view(), true);
    } else if (read_only != Answer::kKeep) {
      session.MemberFailed(session.Shown(record), std::string("read-only") + kKeptHint);
    }
    return 0;
  });
  library.ArchiveSetCallback(archive::kProgressCallbackCode, session.Callback());
  library.ArchiveSetCallback(
      archive::kOverwriteCallbackCode, [&](MemberRecord& record, std::int32_t, std::int32_t) {
        const Answer answer = question(record, false);
        if (answer == Answer::kKeepAndName) {
          session.MemberFailed(session.Shown(record), std::string("exists") + kKeptHint);
        }
        return answer == Answer::kReplace ? 1 : 0;
      });
  const std::uint32_t mode = options.junk_paths ? 0 : archive::kModeKeepPaths;
  if (const int failed =
          OpenArchiveForReading(library, ArchiveDosName(drives, options), options, mode)) {
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
    if (const int failed = OpenArchiveForReading(library, name, options, archive::kModeKeepPaths)) {
      return failed;
    }
    library.ArchiveSelectExtract("*.*", target);
    members = 0;
    const Status walked = library.ArchiveProcess();
    library.ArchiveClose();
    if (walked == Status::kOk) break;
    // Only a member that failed can be passed over; a damaged archive ends the test.
    if (walked != Status::kError || members <= resume) return WalkEnded(options, session, walked);
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
