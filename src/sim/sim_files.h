// The Files port of the simulated instrument: DOS semantics over the host
// folders of the machine's drives. Attributes live in the host's write bit
// and the machine's attribute store; the layer itself refuses what the
// instrument refuses (read-only files, open files, write-protected disks),
// whoever the host user is.
#pragma once

#include <filesystem>
#include <map>
#include <memory>

#include "platform/dos_path.h"
#include "platform/files.h"
#include "sim/attribute_store.h"
#include "sim/drive.h"
#include "sim/folder_listings.h"
#include "sim/open_files.h"
#include "sim/thread_state.h"

namespace qv::sim {

class SimFiles : public platform::Files {
 public:
  SimFiles(AttributeStore& attributes, std::shared_ptr<ThreadState> thread, platform::CodePage page,
           FolderListings::Watching watching = FolderListings::Watching::kBusyFolders);

  void AddDrive(std::shared_ptr<Drive> drive);
  void RemoveDrive(char letter);
  // A new process: drive C: current, every drive at its root.
  void ResetCurrentFolders();

  platform::Result<platform::Stream> Open(std::string_view path, std::string_view mode) override;
  char CurrentDrive() override { return current_drive_; }
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
  enum class Kind { kMissing, kFile, kFolder };
  // A path resolved on the host. Names of existing entries are in the case the
  // file system holds; `written` is the last name as the caller wrote it.
  struct Located {
    std::shared_ptr<Drive> drive;
    platform::DosLocation dos;
    std::filesystem::path host;
    std::string written;
    Kind kind = Kind::kMissing;

    bool exists() const { return kind != Kind::kMissing; }
    bool folder() const { return kind == Kind::kFolder; }
    // Where the written name puts the entry (a rename to another case).
    std::filesystem::path WrittenHost() const;
    platform::DosLocation WrittenDos() const;
  };

  platform::Result<Located> Locate(std::string_view text);
  platform::Result<Located> Locate(const platform::DosPath& path);
  // As Locate, and a missing entry fails with kFileNotFound.
  platform::Result<Located> LocateExisting(std::string_view text);
  std::shared_ptr<Drive> FindDrive(char letter) const;
  platform::DosLocation FolderOf(char drive) const;
  platform::Failure Fail(platform::WinError error);
  platform::Failure Fail(platform::WinError error, platform::Errno value);

  platform::AttributeWord AttributesOf(const Located& entry) const;
  bool ReadOnly(const Located& entry) const;
  bool IsCurrentFolder(const Located& entry) const;
  bool HoldsCurrentFolder(const Located& entry) const;
  // Moves an entry to a free name (rename, and a move that replaces nothing).
  platform::Outcome MoveEntry(const Located& from, const Located& to);
  platform::Outcome CheckMovable(const Located& from, const Located& to);

  AttributeStore& attributes_;
  std::shared_ptr<ThreadState> thread_;
  platform::CodePage page_;
  FolderListings listings_;
  OpenFiles open_files_;
  std::map<char, std::shared_ptr<Drive>> drives_;
  char current_drive_ = 'C';
  std::map<char, platform::DosLocation> folders_;
};

}  // namespace qv::sim
