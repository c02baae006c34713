// Small value types of the Files port: attribute words, what a folder search
// and a file status report, drive types and disk space.
#pragma once

#include <cstdint>
#include <string>

namespace qv::platform {

// The DOS attribute word. A plain file has none of the bits (0, as the C run
// time's find reports it; the system's FILE_ATTRIBUTE_NORMAL is never given
// out, and is taken as 0 when set).
using AttributeWord = std::uint32_t;
namespace attribute {
inline constexpr AttributeWord kReadOnly = 0x01;
inline constexpr AttributeWord kHidden = 0x02;
inline constexpr AttributeWord kSystem = 0x04;
inline constexpr AttributeWord kDirectory = 0x10;
inline constexpr AttributeWord kArchive = 0x20;
inline constexpr AttributeWord kNormal = 0x80;
// The bits a program may set; the directory bit follows from what the entry is.
inline constexpr AttributeWord kSettable = kReadOnly | kHidden | kSystem | kArchive;
}  // namespace attribute

// Seconds since 1970-01-01 00:00:00 UTC, as the C run time gives file times.
using FileTime = std::int64_t;

// One entry of a folder search (find-first / find-next).
struct FindData {
  std::string name;  // as the file system holds it
  AttributeWord attributes = 0;
  std::uint64_t size = 0;
  FileTime write_time = 0;
};

// The C run time's mode word (_stat's st_mode): type bits and the owner's
// permission bits, which the run time repeats for group and others.
namespace mode {
inline constexpr std::uint16_t kDirectory = 0x4000;
inline constexpr std::uint16_t kRegular = 0x8000;
inline constexpr std::uint16_t kRead = 0x0100;
inline constexpr std::uint16_t kWrite = 0x0080;
inline constexpr std::uint16_t kExecute = 0x0040;
}  // namespace mode

// What _stat reports.
struct FileStatus {
  std::uint64_t size = 0;
  std::uint16_t mode = 0;
  FileTime access_time = 0;
  FileTime write_time = 0;
  FileTime creation_time = 0;
  int drive = 0;  // 0 = A:
};

// _access checks.
enum class AccessCheck : int { kExists = 0, kWrite = 2, kRead = 4, kReadWrite = 6 };

// GetDriveTypeA's answers.
enum class DriveType : std::uint32_t {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// GetDiskFreeSpaceA's answer.
struct DiskSpace {
  std::uint32_t sectors_per_cluster = 0;
  std::uint32_t bytes_per_sector = 0;
  std::uint32_t free_clusters = 0;
  std::uint32_t total_clusters = 0;

  std::uint64_t ClusterBytes() const {
    return std::uint64_t{sectors_per_cluster} * bytes_per_sector;
  }
  std::uint64_t FreeBytes() const { return ClusterBytes() * free_clusters; }
  std::uint64_t TotalBytes() const { return ClusterBytes() * total_clusters; }
};

// Converts a drive letter ('a'..'z' or 'A'..'Z') to 'A'..'Z'; 0 for anything else.
constexpr char NormalDrive(char letter) {
  if (letter >= 'a' && letter <= 'z') return static_cast<char>(letter - 0x20);
  if (letter >= 'A' && letter <= 'Z') return letter;
  return 0;
}

}  // namespace qv::platform
