// The host's files as the archive library sees them: drive C: is the host's
// root folder, or the folder given with -C (so that members are stored
// relative to a package tree); Z: is the host's root when C: is not; T: is
// arq's scratch folder; a command may give a folder of its own a drive
// (extraction's destination), which keeps the paths the library walks
// short. Drive A: takes the folders given with --disk, one removable disk
// at a time. On Linux the machinery is the simulated instrument's file
// system over host folders, with the host's own free space on the fixed
// drives; on Windows it is the system's own file system, with the letters
// standing for folders there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "tools/arq/folder_drives.h"

namespace qv::arq {

inline constexpr std::uint64_t kDefaultDiskSize = 1'457'664;
// The smallest disk the library writes volumes on holds 362,000 bytes, and a
// disk holds whole clusters: the first size that is both.
inline constexpr std::uint64_t kSmallestDiskSize =
    (362'000 + kDiskClusterBytes - 1) / kDiskClusterBytes * kDiskClusterBytes;

// Gives the file `from` the name `to`, replacing a file there without a
// moment when neither is there; false when it cannot.
bool PutFileInPlace(const std::filesystem::path& from, const std::filesystem::path& to);

struct DriveOptions {
  std::optional<std::filesystem::path> c_folder;  // -C
  std::vector<std::filesystem::path> disks;       // --disk
  std::uint64_t disk_size = kDefaultDiskSize;
};

class HostDrives {
 public:
  // Throws std::runtime_error with a one-line reason (a -C folder that is
  // no folder, no scratch folder to be had).
  explicit HostDrives(const DriveOptions& options);
  ~HostDrives();
  HostDrives(const HostDrives&) = delete;
  HostDrives& operator=(const HostDrives&) = delete;

  platform::Files& files();

  // Gives an existing host folder the fixed drive `letter`.
  void Mount(char letter, const std::filesystem::path& folder);
  // The DOS path of a host path ("C:\pkg\a.txt") on the drive whose folder
  // holds it most closely, or nothing for a path that no drive reaches.
  std::optional<std::string> DosPath(const std::filesystem::path& host) const;
  // The host path of a DOS path on a fixed drive (for messages); the text
  // itself for anything else.
  std::string HostPath(std::string_view dos) const;

  // A folder of the host's own, removed with this object (gathering files,
  // test extractions).
  const std::filesystem::path& scratch() const { return scratch_; }

  int disk_count() const { return static_cast<int>(disks_.size()); }
  // Puts disk `number` (from 1) into drive A:, or leaves the drive empty
  // for a number that has no disk. Returns whether a disk went in.
  bool InsertDisk(int number);

 private:
  // What differs from one host system to another: the file system under
  // the drives (host_drives_posix.cc, host_drives_win32.cc).
  struct System;
  // Shared only so that its deleter is made where System is complete.
  using SystemHandle = std::shared_ptr<System>;
  static std::filesystem::path MakeScratch();
  // The host's roots and the letters they take when C: is the host's root
  // or, with -C, the -C folder.
  static std::vector<std::pair<char, std::filesystem::path>> HostRoots(bool c_taken);
  SystemHandle MakeSystem(const DriveOptions& options);
  // Gives the file system the fixed drive `letter` over the folder.
  void Attach(char letter, const std::filesystem::path& folder);
  // Makes the folder the disk in drive A: (one that does not exist: none).
  void PutInDriveA(const std::filesystem::path& disk);

  std::filesystem::path scratch_;
  SystemHandle system_;
  std::map<char, std::filesystem::path> mounts_;  // fixed drives and their folders
  std::vector<std::filesystem::path> disks_;
};

}  // namespace qv::arq
