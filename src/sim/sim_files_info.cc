// SimFiles: folder searches, attributes, status and times, and the drives.
#include <fcntl.h>
#include <sys/stat.h>

#include "sim/dos_pattern.h"
#include "sim/host_tree.h"
#include "sim/sim_files.h"

namespace qv::sim {

namespace fs = std::filesystem;
namespace attribute = platform::attribute;
namespace mode = platform::mode;
using platform::AttributeWord;
using platform::Outcome;
using platform::Result;
using platform::WinError;

namespace {

bool IsProgram(std::string_view name, platform::CodePage page) {
  const std::string folded = platform::FoldName(page, name);
  for (const std::string_view extension : {".EXE", ".COM", ".BAT", ".CMD"}) {
    if (folded.ends_with(extension)) return true;
  }
  return false;
}

}  // namespace

Result<std::vector<platform::FindData>> SimFiles::Find(std::string_view pattern_text) {
  std::optional<platform::DosPath> path = platform::DosPath::Parse(pattern_text);
  if (!path) return Fail(WinError::kInvalidName);
  if (path->names.empty() || path->trailing_separator) return Fail(WinError::kFileNotFound);
  const std::string pattern = path->names.back();
  path->names.pop_back();
  for (const char c : pattern) {
    if (c != '*' && c != '?' && !platform::IsValidName(std::string(1, c))) {
      return Fail(WinError::kInvalidName);
    }
  }
  Result<Located> folder = Locate(*path);
  if (!folder) return folder.failure();
  if (!folder->folder()) return Fail(WinError::kPathNotFound);

  std::vector<platform::FindData> found;
  const auto add = [&](std::string name, const Located& entry) {
    if (!MatchesDosPattern(pattern, name, page_)) return;
    struct stat info {};
    ::lstat(entry.host.c_str(), &info);
    found.push_back({std::move(name), AttributesOf(entry),
                     entry.folder() ? 0 : static_cast<std::uint64_t>(info.st_size),
                     info.st_mtim.tv_sec});
  };
  if (!folder->dos.IsRoot()) {
    add(".", *folder);
    Located parent = *folder;
    parent.dos = folder->dos.Parent();
    parent.host = folder->host.parent_path();
    add("..", parent);
  }
  for (const HostEntry& host : VisibleEntries(folder->host, page_)) {
    Located entry = *folder;
    entry.dos = folder->dos.Child(host.name);
    entry.host = folder->host / host.name;
    entry.kind = host.folder ? Kind::kFolder : Kind::kFile;
    add(host.name, entry);
  }
  if (found.empty()) return Fail(WinError::kFileNotFound);
  return found;
}

Outcome SimFiles::Access(std::string_view path, platform::AccessCheck check) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  const bool wants_write = (static_cast<int>(check) & 2) != 0;
  if (wants_write && ReadOnly(*entry)) return Fail(WinError::kAccessDenied);
  return {};
}

Result<AttributeWord> SimFiles::GetAttributes(std::string_view path) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.failure();
  return AttributesOf(*entry);
}

Outcome SimFiles::SetAttributes(std::string_view path, AttributeWord bits) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  if (entry->drive->write_protected()) return Fail(WinError::kWriteProtect);
  if (entry->dos.IsRoot()) return {};  // the root keeps no attributes
  bits &= attribute::kSettable;
  if (!entry->folder()) {
    struct stat info;
    if (::lstat(entry->host.c_str(), &info) != 0) return Fail(WinError::kAccessDenied);
    const mode_t write_bits = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t wanted = (bits & attribute::kReadOnly) ? (info.st_mode & ~write_bits & 07777)
                                                        : ((info.st_mode | S_IWUSR) & 07777);
    if (::chmod(entry->host.c_str(), wanted) != 0) return Fail(WinError::kAccessDenied);
  }
  attributes_.Set(entry->dos, entry->folder(), bits);
  return {};
}

Outcome SimFiles::SetWritable(std::string_view path, bool writable) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  AttributeWord bits = AttributesOf(*entry) & attribute::kSettable;
  bits = writable ? (bits & ~attribute::kReadOnly) : (bits | attribute::kReadOnly);
  return SetAttributes(entry->dos.ToString(), bits);
}

Result<platform::FileStatus> SimFiles::Status(std::string_view path) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.failure();
  struct stat info;
  if (::lstat(entry->host.c_str(), &info) != 0) return Fail(WinError::kFileNotFound);
  std::uint16_t owner = mode::kRead;
  if (!ReadOnly(*entry)) owner |= mode::kWrite;
  if (entry->folder() || IsProgram(entry->dos.IsRoot() ? "" : entry->dos.names.back(), page_)) {
    owner |= mode::kExecute;
  }
  // The run time repeats the owner's bits for the group and the others.
  const auto bits = static_cast<std::uint16_t>(owner | owner >> 3 | owner >> 6);
  return platform::FileStatus{
      .size = entry->folder() ? 0 : static_cast<std::uint64_t>(info.st_size),
      .mode =
          static_cast<std::uint16_t>((entry->folder() ? mode::kDirectory : mode::kRegular) | bits),
      .access_time = info.st_atim.tv_sec,
      .write_time = info.st_mtim.tv_sec,
      .creation_time = info.st_mtim.tv_sec,
      .drive = entry->dos.drive - 'A'};
}

Outcome SimFiles::SetTimes(std::string_view path, platform::FileTime access,
                           platform::FileTime write) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  // The run time opens the file for writing to set its times.
  if (entry->folder() || ReadOnly(*entry)) return Fail(WinError::kAccessDenied);
  if (entry->drive->write_protected()) return Fail(WinError::kWriteProtect);
  const timespec times[2] = {{access, 0}, {write, 0}};
  if (::utimensat(AT_FDCWD, entry->host.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
    return Fail(WinError::kAccessDenied);
  }
  return {};
}

platform::DriveType SimFiles::GetDriveType(char drive) {
  const std::shared_ptr<Drive> found = FindDrive(drive);
  return found ? found->type() : platform::DriveType::kNoRootDir;
}

Result<platform::DiskSpace> SimFiles::GetDiskSpace(char drive) {
  const std::shared_ptr<Drive> found = FindDrive(drive);
  if (!found) return Fail(WinError::kPathNotFound);
  if (!found->MediumPresent()) return Fail(WinError::kNotReady);
  return found->Space();
}

bool SimFiles::DriveReady(char drive) {
  return GetDiskSpace(drive).ok();
}

}  // namespace qv::sim
