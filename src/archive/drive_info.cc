#include "archive/drive_info.h"

namespace qv::archive {
namespace {

char Letter(int drive) {
  return static_cast<char>('A' + drive);
}

}  // namespace

int DriveOfPath(platform::Files& files, std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') {
    const char letter = platform::NormalDrive(path[0]);
    if (letter != 0) return letter - 'A';
  }
  return platform::NormalDrive(files.CurrentDrive()) - 'A';
}

bool IsRemovableDrive(platform::Files& files, int drive) {
  return files.GetDriveType(Letter(drive)) == platform::DriveType::kRemovable;
}

std::int64_t FreeSpace(platform::Files& files, int drive) {
  const platform::Result<platform::DiskSpace> space = files.GetDiskSpace(Letter(drive));
  return space ? static_cast<std::int64_t>(space->FreeBytes()) : -1;
}

std::int64_t Capacity(platform::Files& files, int drive) {
  const platform::Result<platform::DiskSpace> space = files.GetDiskSpace(Letter(drive));
  return space ? static_cast<std::int64_t>(space->TotalBytes()) : -1;
}

bool DriveReady(platform::Files& files, int drive) {
  return files.DriveReady(Letter(drive));
}

}  // namespace qv::archive
