// SimFiles: making and removing folders, deleting, renaming, moving and
// copying entries.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "sim/host_io.h"
#include "sim/host_tree.h"
#include "sim/sim_files.h"

namespace qv::sim {

namespace fs = std::filesystem;
using platform::Outcome;
using platform::Result;
using platform::WinError;

namespace {

std::uint64_t HostSize(const fs::path& host) {
  struct stat info;
  return ::lstat(host.c_str(), &info) == 0 && S_ISREG(info.st_mode)
             ? static_cast<std::uint64_t>(info.st_size)
             : 0;
}

bool SameHostEntry(const fs::path& a, const fs::path& b) {
  struct stat first, second;
  return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Copies the bytes, the permission bits and the times of one host file.
bool CopyHostFile(const fs::path& from, const fs::path& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return false;
  struct stat info;
  ::fstat(in, &info);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  bool copied = out >= 0;
  std::array<char, 65536> buffer;
  while (copied) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n == 0) break;
    copied = n > 0 && ::write(out, buffer.data(), static_cast<std::size_t>(n)) == n;
  }
  if (copied) {
    const timespec times[2] = {info.st_atim, info.st_mtim};
    copied = ::futimens(out, times) == 0 && ::fchmod(out, info.st_mode & 07777) == 0;
  }
  if (out >= 0) ::close(out);
  ::close(in);
  return copied;
}

}  // namespace

Outcome SimFiles::MakeFolder(std::string_view path) {
  Result<Located> entry = Locate(path);
  if (!entry) return entry.outcome();
  if (entry->exists()) return Fail(WinError::kAlreadyExists);
  if (entry->drive->write_protected()) return Fail(WinError::kWriteProtect);
  if (!entry->drive->Resize(0, 1)) return Fail(WinError::kDiskFull);
  if (::mkdir(entry->WrittenHost().c_str(), 0755) != 0) {
    entry->drive->Recount();
    return Fail(WinError::kAccessDenied);
  }
  attributes_.Forget(entry->dos);
  return {};
}

Outcome SimFiles::RemoveFolder(std::string_view path) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  if (!entry->folder()) return Fail(WinError::kDirectory);
  if (entry->dos.IsRoot() || ReadOnly(*entry)) return Fail(WinError::kAccessDenied);
  if (IsCurrentFolder(*entry)) return Fail(WinError::kCurrentDirectory);
  if (!VisibleEntries(entry->host, page_).empty()) return Fail(WinError::kDirNotEmpty);
  if (entry->drive->write_protected()) return Fail(WinError::kWriteProtect);
  if (::rmdir(entry->host.c_str()) != 0) return Fail(WinError::kDirNotEmpty);
  entry->drive->Resize(1, 0);
  attributes_.Forget(entry->dos);
  return {};
}

Outcome SimFiles::Remove(std::string_view path) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  if (entry->folder() || ReadOnly(*entry)) return Fail(WinError::kAccessDenied);
  if (open_files_.InUse(entry->host)) return Fail(WinError::kSharingViolation);
  if (entry->drive->write_protected()) return Fail(WinError::kWriteProtect);
  const std::uint64_t size = HostSize(entry->host);
  if (::unlink(entry->host.c_str()) != 0) return Fail(WinError::kAccessDenied);
  entry->drive->Resize(size, 0);
  attributes_.Forget(entry->dos);
  return {};
}

Outcome SimFiles::CheckMovable(const Located& from, const Located& to) {
  if (!from.exists()) return Fail(WinError::kFileNotFound);
  if (from.drive != to.drive) return Fail(WinError::kNotSameDevice);
  if (from.dos.IsRoot()) return Fail(WinError::kAccessDenied);
  if (from.folder()) {
    const std::string source = platform::FoldName(page_, from.dos.ToString()) + '\\';
    if (platform::FoldName(page_, to.dos.ToString()).starts_with(source)) {
      return Fail(WinError::kAccessDenied);  // into itself
    }
    if (HoldsCurrentFolder(from)) return Fail(WinError::kSharingViolation);
  }
  if (open_files_.InUse(from.host)) return Fail(WinError::kSharingViolation);
  if (from.drive->write_protected()) return Fail(WinError::kWriteProtect);
  return {};
}

Outcome SimFiles::MoveEntry(const Located& from, const Located& to) {
  if (::rename(from.host.c_str(), to.WrittenHost().c_str()) != 0) {
    return Fail(WinError::kAccessDenied);
  }
  attributes_.Move(from.dos, to.WrittenDos());
  return {};
}

Outcome SimFiles::Rename(std::string_view from, std::string_view to) {
  Result<Located> source = Locate(from);
  if (!source) return source.outcome();
  Result<Located> target = Locate(to);
  if (!target) return target.outcome();
  if (Outcome movable = CheckMovable(*source, *target); !movable) return movable;
  // The same entry under another case is a change of case, not a clash.
  if (target->exists() && !SameHostEntry(source->host, target->host)) {
    return Fail(WinError::kAlreadyExists);
  }
  return MoveEntry(*source, *target);
}

Outcome SimFiles::Move(std::string_view from, std::string_view to, bool replace_existing) {
  Result<Located> source = Locate(from);
  if (!source) return source.outcome();
  Result<Located> target = Locate(to);
  if (!target) return target.outcome();
  if (Outcome movable = CheckMovable(*source, *target); !movable) return movable;
  if (!target->exists() || SameHostEntry(source->host, target->host)) {
    return MoveEntry(*source, *target);
  }
  if (!replace_existing) return Fail(WinError::kAlreadyExists);
  if (source->folder() || target->folder() || ReadOnly(*target)) {
    return Fail(WinError::kAccessDenied);
  }
  if (open_files_.InUse(target->host)) return Fail(WinError::kSharingViolation);
  // The replaced entry's name (and its case) stays.
  const std::uint64_t replaced = HostSize(target->host);
  if (!ReplaceHostFile(source->host, target->host)) return Fail(WinError::kAccessDenied);
  source->drive->Resize(replaced, 0);
  attributes_.Move(source->dos, target->dos);
  return {};
}

Outcome SimFiles::Copy(std::string_view from, std::string_view to, bool fail_if_exists) {
  Result<Located> source = LocateExisting(from);
  if (!source) return source.outcome();
  if (source->folder()) return Fail(WinError::kAccessDenied);
  Result<Located> target = Locate(to);
  if (!target) return target.outcome();
  if (target->folder()) return Fail(WinError::kAccessDenied);
  if (target->exists()) {
    if (SameHostEntry(source->host, target->host)) return Fail(WinError::kSharingViolation);
    if (fail_if_exists) return Fail(WinError::kFileExists);
    if (ReadOnly(*target)) return Fail(WinError::kAccessDenied);
    if (open_files_.InUse(target->host)) return Fail(WinError::kSharingViolation);
  }
  if (target->drive->write_protected()) return Fail(WinError::kWriteProtect);
  const std::uint64_t old_size = HostSize(target->host);
  if (!target->drive->Resize(old_size, HostSize(source->host))) return Fail(WinError::kDiskFull);
  const fs::path host = target->exists() ? target->host : target->WrittenHost();
  if (!CopyHostFile(source->host, host)) {
    target->drive->Recount();
    return Fail(WinError::kAccessDenied);
  }
  const platform::DosLocation place = target->exists() ? target->dos : target->WrittenDos();
  attributes_.Forget(place);
  attributes_.Set(place, false, attributes_.Get(source->dos, false));
  return {};
}

}  // namespace qv::sim
