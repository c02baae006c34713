// The Files port on the system itself: the C run time (msvcrt) for what the
// port names after it, the Win32 file calls for the rest.
#pragma once

#include "platform/files.h"

namespace qv::win32 {

class Win32Files : public platform::Files {
 public:
  // How a file is replaced: with MoveFileExA where the system has it, or
  // through a side name as on Windows 98 (which a test may choose anywhere).
  enum class Replace { kSystemCall, kSideName };

  explicit Win32Files(Replace replace = Replace::kSystemCall) : replace_(replace) {}

  platform::Result<platform::Stream> Open(std::string_view path, std::string_view mode) override;

  char CurrentDrive() override;
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
  Replace replace_;
};

}  // namespace qv::win32
