// The Files port: the instrument's file system with DOS semantics. Drive
// letters, a current drive and one current folder per drive; "\" or "/"
// between names; names compared without regard to case and created with the
// case given; DOS attributes. A read-only file refuses to be deleted,
// replaced, or opened for writing whoever runs the program.
//
// Every failing call returns the system's error code and leaves it as the
// last error (System::LastError); calls named after C run-time functions also
// carry the errno value that run time would set.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_types.h"
#include "platform/outcome.h"
#include "platform/stream.h"

namespace qv::platform {

class Files {
 public:
  virtual ~Files() = default;

  // fopen. Modes "r", "w", "a", "r+", "w+", "a+" with "b" or "t" (text is the
  // default). "w" creates or truncates, "a" creates and writes at the end;
  // "a+" in text mode drops a Ctrl-Z that ends the file. A bad mode fails with
  // EINVAL and no system code.
  virtual Result<Stream> Open(std::string_view path, std::string_view mode) = 0;

  // _getdrive, as an upper-case letter.
  virtual char CurrentDrive() = 0;
  // _chdrive: kInvalidDrive for a drive the machine lacks, kNotReady for a
  // removable drive without a disk.
  virtual Outcome ChangeDrive(char drive) = 0;
  // _getdcwd: the current folder of a drive ("C:\scope\bin", "C:\" at the
  // root), with the names as the file system holds them. Drive 0 = current.
  virtual Result<std::string> CurrentFolder(char drive) = 0;
  // _chdir: makes a folder the current folder of its drive, and a drive
  // named in the path the current drive.
  virtual Outcome ChangeFolder(std::string_view path) = 0;
  // _fullpath: the absolute form of a path (nothing needs to exist).
  virtual Result<std::string> FullPath(std::string_view path) = 0;

  // FindFirstFileA / FindNextFileA, all at once: the entries of the folder
  // that match the pattern's last name ("*", "*.*", "*.dll", an exact name),
  // "." and ".." first below a root, then by name without regard to case.
  // Fails with kFileNotFound when nothing matches, kPathNotFound when the
  // folder is missing.
  virtual Result<std::vector<FindData>> Find(std::string_view pattern) = 0;
  // _access.
  virtual Outcome Access(std::string_view path, AccessCheck check) = 0;
  // GetFileAttributesA / SetFileAttributesA (the directory bit is ignored).
  virtual Result<AttributeWord> GetAttributes(std::string_view path) = 0;
  virtual Outcome SetAttributes(std::string_view path, AttributeWord attributes) = 0;
  // _chmod: writable clears the read-only attribute, otherwise sets it.
  virtual Outcome SetWritable(std::string_view path, bool writable) = 0;
  // _stat.
  virtual Result<FileStatus> Status(std::string_view path) = 0;
  // _utime: opens the file for writing to set its times, so a read-only file
  // or a folder refuses (EACCES).
  virtual Outcome SetTimes(std::string_view path, FileTime access, FileTime write) = 0;

  // _mkdir: kAlreadyExists / EEXIST when the name exists, kPathNotFound /
  // ENOENT when the parent folder is missing.
  virtual Outcome MakeFolder(std::string_view path) = 0;
  // _rmdir: kDirNotEmpty / ENOTEMPTY, kCurrentDirectory for a folder that is
  // some drive's current folder.
  virtual Outcome RemoveFolder(std::string_view path) = 0;
  // remove (DeleteFileA).
  virtual Outcome Remove(std::string_view path) = 0;
  // rename (MoveFileA): files and folders, within one drive; fails with
  // kAlreadyExists / EEXIST when the new name exists (other than as the same
  // entry in another case).
  virtual Outcome Rename(std::string_view from, std::string_view to) = 0;
  // MoveFileExA without MOVEFILE_COPY_ALLOWED: with replace_existing an
  // existing file of the new name is replaced in one step, so that there is
  // no moment at which neither file exists.
  virtual Outcome Move(std::string_view from, std::string_view to, bool replace_existing) = 0;
  // CopyFileA: the copy takes the source's attributes and write time;
  // kFileExists when fail_if_exists and the target exists.
  virtual Outcome Copy(std::string_view from, std::string_view to, bool fail_if_exists) = 0;

  // GetDriveTypeA of the drive's root.
  virtual DriveType GetDriveType(char drive) = 0;
  // GetDiskFreeSpaceA of the drive's root.
  virtual Result<DiskSpace> GetDiskSpace(char drive) = 0;
  // The disk-space query made while critical-error boxes are suppressed
  // (SetErrorMode(SEM_FAILCRITICALERRORS)): true when it succeeds.
  virtual bool DriveReady(char drive) = 0;
};

// Whether a file or folder is there (_access for existence).
inline bool Exists(Files& files, std::string_view path) {
  return files.Access(path, AccessCheck::kExists).ok();
}

}  // namespace qv::platform
