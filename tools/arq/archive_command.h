// What the archive subcommands (l, t, x, a, d) share: their options, the
// archive's name on the library's drives, and the library opened on it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_library.h"
#include "tools/arq/archive_session.h"
#include "tools/arq/host_drives.h"

namespace qv::arq {

struct ArchiveOptions {
  std::string archive;
  std::vector<std::string> items;  // patterns, or files and patterns to add
  std::string destination;         // x -d
  std::string c_folder;            // a -C
  bool junk_paths = false;         // -j
  bool overwrite = false;          // x -o
  bool never_overwrite = false;    // x -n
  bool json = false;               // l --json
  bool quiet = false;              // -q
  bool best = false;               // a --best
  std::vector<std::string> disks;  // --disk, or --disks
  std::uint64_t disk_size = kDefaultDiskSize;
  int threads = 1;  // a, x --threads
};

// The drives for the options: -C and --disks.
DriveOptions DrivesFor(const ArchiveOptions& options);

// The archive's DOS name: with --disk its file name on A:, else where its
// host path lies. Nothing when no drive reaches it.
std::optional<std::string> ArchiveDosName(HostDrives& drives, const ArchiveOptions& options);

// A pattern given on the command line as the library takes it: '/' turned
// into '\', and an absolute host path made a DOS path.
std::optional<std::string> LibraryPattern(HostDrives& drives, const std::string& item);

// The exit code after a walk, with a message when it stopped without the
// library having named a failed member.
int WalkEnded(const ArchiveOptions& options, const ArchiveSession& session, Status walked);

// Whether arq draws its progress bar: stderr is a terminal and -q is absent.
bool ShowProgress(const ArchiveOptions& options);

int ListArchive(const ArchiveOptions& options);
int TestArchive(const ArchiveOptions& options);
int ExtractArchive(const ArchiveOptions& options);
int AddToArchive(const ArchiveOptions& options);
int DeleteFromArchive(const ArchiveOptions& options);

}  // namespace qv::arq
