// SimFiles: resolving paths, the current drive and folders, and opening streams.
#include "sim/sim_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/stream_mode.h"
#include "sim/host_tree.h"
#include "sim/sim_stream.h"

namespace qv::sim {

namespace fs = std::filesystem;
using platform::DosLocation;
using platform::DosPath;
using platform::Errno;
using platform::Failure;
using platform::Outcome;
using platform::Result;
using platform::WinError;

SimFiles::SimFiles(AttributeStore& attributes, std::shared_ptr<ThreadState> thread,
                   platform::CodePage page, FolderListings::Watching watching)
    : attributes_(attributes), thread_(std::move(thread)), page_(page), listings_(page, watching) {}

void SimFiles::AddDrive(std::shared_ptr<Drive> drive) {
  const char letter = drive->letter();
  drives_[letter] = std::move(drive);
  folders_[letter] = DosLocation{letter, {}};
}

void SimFiles::RemoveDrive(char letter) {
  drives_.erase(letter);
  folders_.erase(letter);
}

void SimFiles::ResetCurrentFolders() {
  current_drive_ = 'C';
  for (auto& [letter, folder] : folders_)
    folder = DosLocation{letter, {}};
}

std::shared_ptr<Drive> SimFiles::FindDrive(char letter) const {
  const auto found = drives_.find(platform::NormalDrive(letter));
  return found == drives_.end() ? nullptr : found->second;
}

DosLocation SimFiles::FolderOf(char drive) const {
  const auto found = folders_.find(drive);
  return found == folders_.end() ? DosLocation{drive, {}} : found->second;
}

Failure SimFiles::Fail(WinError error) {
  thread_->last_error = error;
  return Failure::System(error);
}

Failure SimFiles::Fail(WinError error, Errno value) {
  thread_->last_error = error;
  return Failure::Both(error, value);
}

fs::path SimFiles::Located::WrittenHost() const {
  return host.parent_path() / written;
}

DosLocation SimFiles::Located::WrittenDos() const {
  return dos.Parent().Child(written);
}

Result<SimFiles::Located> SimFiles::Locate(std::string_view text) {
  if (text.empty()) return Fail(WinError::kPathNotFound);
  const std::optional<DosPath> path = DosPath::Parse(text);
  if (!path) return Fail(WinError::kInvalidName);
  return Locate(*path);
}

Result<SimFiles::Located> SimFiles::Locate(const DosPath& path) {
  Located entry;
  const char letter = path.drive != 0 ? path.drive : current_drive_;
  entry.drive = FindDrive(letter);
  if (!entry.drive) return Fail(WinError::kPathNotFound);
  if (!entry.drive->MediumPresent()) return Fail(WinError::kNotReady);
  std::optional<DosLocation> location = platform::Locate(path, FolderOf(letter));
  if (!location) return Fail(WinError::kInvalidName);
  for (const std::string& name : location->names) {
    if (!platform::IsValidName(name)) return Fail(WinError::kInvalidName);
  }
  if (location->ToString().size() > platform::kMaxPathLength) {
    return Fail(WinError::kFilenameExcedRange);
  }
  entry.dos = std::move(*location);
  entry.host = entry.drive->root();
  entry.kind = Kind::kFolder;
  const std::size_t count = entry.dos.names.size();
  for (std::size_t i = 0; i < count; ++i) {
    std::string& name = entry.dos.names[i];
    const std::optional<HostEntry> found = listings_.Find(entry.host, name, /*below_last=*/i > 0);
    if (i + 1 == count) {
      entry.written = name;
      if (!found) {
        entry.kind = Kind::kMissing;
        entry.host /= name;
        break;
      }
      entry.kind = found->folder ? Kind::kFolder : Kind::kFile;
    } else if (!found || !found->folder) {
      return Fail(WinError::kPathNotFound);
    }
    name = found->name;
    entry.host /= found->name;
  }
  if (path.trailing_separator && entry.kind == Kind::kFile) return Fail(WinError::kInvalidName);
  return entry;
}

Result<SimFiles::Located> SimFiles::LocateExisting(std::string_view text) {
  Result<Located> entry = Locate(text);
  if (entry && !entry->exists()) return Fail(WinError::kFileNotFound);
  return entry;
}

bool SimFiles::ReadOnly(const Located& entry) const {
  if (entry.folder()) {
    return (attributes_.Get(entry.dos, true) & platform::attribute::kReadOnly) != 0;
  }
  struct stat info;
  return ::lstat(entry.host.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

platform::AttributeWord SimFiles::AttributesOf(const Located& entry) const {
  if (entry.dos.IsRoot()) return platform::attribute::kDirectory;
  platform::AttributeWord bits = attributes_.Get(entry.dos, entry.folder());
  if (entry.folder()) bits |= platform::attribute::kDirectory;
  if (ReadOnly(entry)) bits |= platform::attribute::kReadOnly;
  return bits;
}

bool SimFiles::IsCurrentFolder(const Located& entry) const {
  const DosLocation current = FolderOf(entry.dos.drive);
  return current.names.size() == entry.dos.names.size() &&
         platform::SameName(page_, current.ToString(), entry.dos.ToString());
}

bool SimFiles::HoldsCurrentFolder(const Located& entry) const {
  const std::string folder = platform::FoldName(page_, entry.dos.ToString());
  for (const auto& [letter, current] : folders_) {
    const std::string held = platform::FoldName(page_, current.ToString());
    if (held == folder || held.starts_with(folder + '\\')) return true;
  }
  return false;
}

Outcome SimFiles::ChangeDrive(char drive) {
  const std::shared_ptr<Drive> found = FindDrive(drive);
  // The run time reports an unknown drive with EACCES, whatever the system says.
  if (!found) return Fail(WinError::kInvalidDrive, Errno::kEACCES);
  if (!found->MediumPresent()) return Fail(WinError::kNotReady);
  current_drive_ = found->letter();
  return {};
}

Result<std::string> SimFiles::CurrentFolder(char drive) {
  const char letter = drive == 0 ? current_drive_ : platform::NormalDrive(drive);
  if (!FindDrive(letter)) return Fail(WinError::kInvalidDrive, Errno::kEACCES);
  return FolderOf(letter).ToString();
}

Outcome SimFiles::ChangeFolder(std::string_view path) {
  Result<Located> entry = LocateExisting(path);
  if (!entry) return entry.outcome();
  if (!entry->folder()) return Fail(WinError::kDirectory);
  folders_[entry->dos.drive] = entry->dos;
  current_drive_ = entry->dos.drive;
  return {};
}

Result<std::string> SimFiles::FullPath(std::string_view path) {
  const std::optional<DosPath> parsed = DosPath::Parse(path);
  if (!parsed) return Fail(WinError::kInvalidName);
  const char letter = parsed->drive != 0 ? parsed->drive : current_drive_;
  const std::optional<DosLocation> location = platform::Locate(*parsed, FolderOf(letter));
  if (!location) return Fail(WinError::kInvalidName);
  return location->ToString();
}

Result<platform::Stream> SimFiles::Open(std::string_view path, std::string_view mode_text) {
  const std::optional<platform::StreamMode> mode = platform::StreamMode::Parse(mode_text);
  if (!mode) return Failure::RunTime(Errno::kEINVAL);
  Result<Located> entry = Locate(path);
  if (!entry) return entry.failure();
  if (entry->folder()) return Fail(WinError::kAccessDenied);
  if (!entry->exists() && mode->MustExist()) return Fail(WinError::kFileNotFound);
  if (mode->CanWrite()) {
    if (entry->drive->write_protected()) return Fail(WinError::kWriteProtect);
    if (entry->exists() && ReadOnly(*entry)) return Fail(WinError::kAccessDenied);
  }
  int flags = O_CLOEXEC | O_NOFOLLOW;
  flags |= mode->CanRead() && mode->CanWrite() ? O_RDWR : mode->CanWrite() ? O_WRONLY : O_RDONLY;
  if (!entry->exists()) flags |= O_CREAT | O_EXCL;
  const fs::path host = entry->exists() ? entry->host : entry->WrittenHost();
  const int fd = ::open(host.c_str(), flags, 0644);
  if (fd < 0) return Fail(WinError::kAccessDenied);
  struct stat info;
  ::fstat(fd, &info);
  if (!entry->exists()) {
    attributes_.Forget(entry->dos);  // a stale entry of an earlier file of that name
  } else if (mode->CanWrite()) {
    attributes_.Set(entry->dos, false,
                    attributes_.Get(entry->dos, false) | platform::attribute::kArchive);
  }
  if (mode->Truncates() && info.st_size > 0) {
    if (::ftruncate(fd, 0) == 0) entry->drive->Resize(static_cast<std::uint64_t>(info.st_size), 0);
  }
  if (mode->Appends() && mode->update && !mode->binary && info.st_size > 0) {
    // The run time drops a Ctrl-Z that ends a text file opened for "a+".
    char last = 0;
    if (::pread(fd, &last, 1, info.st_size - 1) == 1 && last == 0x1A &&
        ::ftruncate(fd, info.st_size - 1) == 0) {
      entry->drive->Recount();
    }
  }
  auto stream = std::make_unique<SimStream>(fd, *mode, entry->drive,
                                            open_files_.Hold({info.st_dev, info.st_ino}), thread_);
  return platform::Stream(std::move(stream));
}

}  // namespace qv::sim
