// Drive letters that stand for folders of another file system: on the
// system itself, arq's C: is the -C folder, T: its scratch folder and X: an
// extraction's destination, as the simulated file system gives them on the
// host. Paths are resolved here, against this object's own current folder
// of each drive, so that nothing reaches above a drive's folder; the base
// sees only absolute paths. A letter that was given no folder is no drive.
#pragma once

#include <map>

#include "platform/dos_path.h"
#include "platform/files.h"

namespace qv::arq {

inline constexpr std::uint32_t kDiskClusterBytes = 512;

class FolderDrives : public platform::Files {
 public:
  explicit FolderDrives(platform::Files& base) : base_(base) {}

  // Gives `letter` the folder `root` of the base (an absolute DOS path);
  // its current folder becomes its root. The first drive given becomes the
  // current drive.
  void Map(char letter, std::string_view root);
  // Gives `letter` a removable disk of `capacity` bytes whose contents are
  // the folder `root` of the base; while that folder does not exist the
  // drive is empty (not ready). Its space is counted as on a floppy: files
  // in whole clusters of kDiskClusterBytes, one cluster per folder.
  void MapDisk(char letter, std::string_view root, std::uint64_t capacity);

  platform::Result<platform::Stream> Open(std::string_view path, std::string_view mode) override;

  char CurrentDrive() override { return current_; }
  platform::Outcome ChangeDrive(char drive) override;
  platform::Result<std::string> CurrentFolder(char drive) override;
  platform::Outcome ChangeFolder(std::string_view path) override;
  platform::Result<std::string> FullPath(std::string_view path) override;

  platform::Result<std::vector<platform::FindData>> Find(std::string_view pattern) override;
  platform::Outcome Access(std::string_view path, platform::AccessCheck check) override;
  platform::Result<platform::AttributeWord> GetAttributes(std::string_view path) override;
  platform::Outcome SetAttributes(std::string_view path,
                                  platform::AttributeWord attributes) override;
  platform::Outcome SetWritable(std::string_view path, bool writable) override;
  platform::Result<platform::FileStatus> Status(std::string_view path) override;
  platform::Outcome SetTimes(std::string_view path, platform::FileTime access,
                             platform::FileTime write) override;

  platform::Outcome MakeFolder(std::string_view path) override;
  platform::Outcome RemoveFolder(std::string_view path) override;
  platform::Outcome Remove(std::string_view path) override;
  platform::Outcome Rename(std::string_view from, std::string_view to) override;
  platform::Outcome Move(std::string_view from, std::string_view to,
                         bool replace_existing) override;
  platform::Outcome Copy(std::string_view from, std::string_view to, bool fail_if_exists) override;

  platform::DriveType GetDriveType(char drive) override;
  platform::Result<platform::DiskSpace> GetDiskSpace(char drive) override;
  bool DriveReady(char drive) override;

 private:
  struct Folder {
    platform::DosLocation root;       // on the base
    platform::DosLocation current;    // on this drive
    std::uint64_t disk_capacity = 0;  // a removable disk's; 0: a fixed folder
  };
  // The clusters that the files and folders below a folder of the base take.
  std::uint64_t UsedClusters(const std::string& folder_on_base);
  // Where a path leads on this object's drives.
  platform::Result<platform::DosLocation> Locate(std::string_view path) const;
  // The base's path of what a path names here.
  platform::Result<std::string> OnBase(std::string_view path) const;
  std::string OnBase(const platform::DosLocation& location) const;
  // The base's root of a drive here, or nothing.
  const Folder* FolderOf(char drive) const;
  // Runs `call` with the base's path of `path`, or fails as the path does.
  template <class Call>
  auto WithBase(std::string_view path, Call call) const -> decltype(call(std::string()));

  platform::Files& base_;
  std::map<char, Folder> folders_;
  char current_ = 0;
};

}  // namespace qv::arq
