#include "tools/arq/folder_drives.h"

#include <algorithm>

namespace qv::arq {

using platform::DosLocation;
using platform::Failure;
using platform::Outcome;
using platform::Result;
using platform::WinError;

void FolderDrives::Map(char letter, std::string_view root) {
  const char drive = platform::NormalDrive(letter);
  const std::optional<platform::DosPath> path = platform::DosPath::Parse(root);
  if (drive == 0 || !path || path->drive == 0) return;
  const std::optional<DosLocation> on_base = platform::Locate(*path, DosLocation{path->drive, {}});
  if (!on_base) return;
  folders_[drive] = Folder{*on_base, DosLocation{drive, {}}};
  if (current_ == 0) current_ = drive;
}

void FolderDrives::MapDisk(char letter, std::string_view root, std::uint64_t capacity) {
  Map(letter, root);
  const auto mapped = folders_.find(platform::NormalDrive(letter));
  if (mapped != folders_.end()) mapped->second.disk_capacity = capacity;
}

const FolderDrives::Folder* FolderDrives::FolderOf(char drive) const {
  const auto found = folders_.find(drive == 0 ? current_ : platform::NormalDrive(drive));
  return found == folders_.end() ? nullptr : &found->second;
}

Result<DosLocation> FolderDrives::Locate(std::string_view text) const {
  const std::optional<platform::DosPath> path = platform::DosPath::Parse(text);
  if (!path) return Failure::System(WinError::kInvalidName);
  const Folder* folder = FolderOf(path->drive);
  if (folder == nullptr) return Failure::System(WinError::kPathNotFound);
  std::optional<DosLocation> location = platform::Locate(*path, folder->current);
  if (!location) return Failure::System(WinError::kInvalidName);
  return *location;
}

std::string FolderDrives::OnBase(const DosLocation& location) const {
  DosLocation on_base = FolderOf(location.drive)->root;
  for (const std::string& name : location.names)
    on_base = on_base.Child(name);
  return on_base.ToString();
}

Result<std::string> FolderDrives::OnBase(std::string_view path) const {
  const Result<DosLocation> location = Locate(path);
  if (!location) return location.failure();
  return OnBase(*location);
}

template <class Call>
auto FolderDrives::WithBase(std::string_view path, Call call) const
    -> decltype(call(std::string())) {
  const Result<std::string> on_base = OnBase(path);
  if (!on_base) return on_base.failure();
  return call(*on_base);
}

Result<platform::Stream> FolderDrives::Open(std::string_view path, std::string_view mode) {
  return WithBase(path, [&](const std::string& on_base) { return base_.Open(on_base, mode); });
}

Outcome FolderDrives::ChangeDrive(char drive) {
  if (FolderOf(drive) == nullptr || drive == 0) return Failure::System(WinError::kInvalidDrive);
  current_ = platform::NormalDrive(drive);
  return {};
}

Result<std::string> FolderDrives::CurrentFolder(char drive) {
  const Folder* folder = FolderOf(drive);
  if (folder == nullptr) return Failure::System(WinError::kInvalidDrive);
  return folder->current.ToString();
}

Outcome FolderDrives::ChangeFolder(std::string_view path) {
  const Result<DosLocation> location = Locate(path);
  if (!location) return location.outcome();
  const Result<platform::AttributeWord> attributes = base_.GetAttributes(OnBase(*location));
  if (!attributes) return attributes.outcome();
  if ((*attributes & platform::attribute::kDirectory) == 0) {
    return Failure::Both(WinError::kDirectory, platform::Errno::kENOENT);
  }
  folders_[location->drive].current = *location;
  if (const std::optional<platform::DosPath> parsed = platform::DosPath::Parse(path);
      parsed->drive != 0) {
    current_ = parsed->drive;
  }
  return {};
}

Result<std::string> FolderDrives::FullPath(std::string_view path) {
  const Result<DosLocation> location = Locate(path);
  if (!location) return location.failure();
  return location->ToString();
}

Result<std::vector<platform::FindData>> FolderDrives::Find(std::string_view pattern) {
  return WithBase(pattern, [&](const std::string& on_base) { return base_.Find(on_base); });
}

Outcome FolderDrives::Access(std::string_view path, platform::AccessCheck check) {
  return WithBase(path, [&](const std::string& on_base) { return base_.Access(on_base, check); });
}

Result<platform::AttributeWord> FolderDrives::GetAttributes(std::string_view path) {
  return WithBase(path, [&](const std::string& on_base) { return base_.GetAttributes(on_base); });
}

Outcome FolderDrives::SetAttributes(std::string_view path, platform::AttributeWord attributes) {
  return WithBase(
      path, [&](const std::string& on_base) { return base_.SetAttributes(on_base, attributes); });
}

Outcome FolderDrives::SetWritable(std::string_view path, bool writable) {
  return WithBase(path,
                  [&](const std::string& on_base) { return base_.SetWritable(on_base, writable); });
}

Result<platform::FileStatus> FolderDrives::Status(std::string_view path) {
  const Result<DosLocation> location = Locate(path);
  if (!location) return location.failure();
  Result<platform::FileStatus> status = base_.Status(OnBase(*location));
  if (status) status->drive = location->drive - 'A';
  return status;
}

Outcome FolderDrives::SetTimes(std::string_view path, platform::FileTime access,
                               platform::FileTime write) {
  return WithBase(
      path, [&](const std::string& on_base) { return base_.SetTimes(on_base, access, write); });
}

Outcome FolderDrives::MakeFolder(std::string_view path) {
  return WithBase(path, [&](const std::string& on_base) { return base_.MakeFolder(on_base); });
}

Outcome FolderDrives::RemoveFolder(std::string_view path) {
  const Result<DosLocation> location = Locate(path);
  if (!location) return location.outcome();
  // The base knows nothing of this object's current folders.
  for (const auto& [letter, folder] : folders_) {
    if (folder.current.drive == location->drive && folder.current.names == location->names) {
      return Failure::System(WinError::kCurrentDirectory);
    }
  }
  return base_.RemoveFolder(OnBase(*location));
}

Outcome FolderDrives::Remove(std::string_view path) {
  return WithBase(path, [&](const std::string& on_base) { return base_.Remove(on_base); });
}

Outcome FolderDrives::Rename(std::string_view from, std::string_view to) {
  const Result<DosLocation> a = Locate(from);
  const Result<DosLocation> b = Locate(to);
  if (!a || !b) return !a ? a.outcome() : b.outcome();
  if (a->drive != b->drive) return Failure::System(WinError::kNotSameDevice);
  return base_.Rename(OnBase(*a), OnBase(*b));
}

Outcome FolderDrives::Move(std::string_view from, std::string_view to, bool replace_existing) {
  const Result<DosLocation> a = Locate(from);
  const Result<DosLocation> b = Locate(to);
  if (!a || !b) return !a ? a.outcome() : b.outcome();
  if (a->drive != b->drive) return Failure::System(WinError::kNotSameDevice);
  return base_.Move(OnBase(*a), OnBase(*b), replace_existing);
}

Outcome FolderDrives::Copy(std::string_view from, std::string_view to, bool fail_if_exists) {
  const Result<std::string> a = OnBase(from);
  const Result<std::string> b = OnBase(to);
  if (!a || !b) return !a ? a.outcome() : b.outcome();
  return base_.Copy(*a, *b, fail_if_exists);
}

platform::DriveType FolderDrives::GetDriveType(char drive) {
  const Folder* folder = FolderOf(drive);
  if (folder == nullptr) return platform::DriveType::kNoRootDir;
  if (folder->disk_capacity != 0) return platform::DriveType::kRemovable;
  return base_.GetDriveType(folder->root.drive);
}

std::uint64_t FolderDrives::UsedClusters(const std::string& folder_on_base) {
  const std::string prefix =
      folder_on_base.ends_with('\\') ? folder_on_base : folder_on_base + "\\";
  const Result<std::vector<platform::FindData>> entries = base_.Find(prefix + "*.*");
  if (!entries) return 0;
  std::uint64_t clusters = 0;
  for (const platform::FindData& entry : *entries) {
    if (entry.name == "." || entry.name == "..") continue;
    if (entry.attributes & platform::attribute::kDirectory) {
      clusters += 1 + UsedClusters(prefix + entry.name);
    } else {
      clusters += (entry.size + kDiskClusterBytes - 1) / kDiskClusterBytes;
    }
  }
  return clusters;
}

Result<platform::DiskSpace> FolderDrives::GetDiskSpace(char drive) {
  const Folder* folder = FolderOf(drive);
  if (folder == nullptr) return Failure::System(WinError::kInvalidDrive);
  if (folder->disk_capacity == 0) return base_.GetDiskSpace(folder->root.drive);
  if (!DriveReady(drive)) return Failure::System(WinError::kNotReady);
  // Counted afresh at each call: the library asks when a disk's archive
  // file is new or its first member is about to be written.
  const std::uint64_t total = folder->disk_capacity / kDiskClusterBytes;
  const std::uint64_t used = std::min(UsedClusters(folder->root.ToString()), total);
  return platform::DiskSpace{kDiskClusterBytes / 512, 512, static_cast<std::uint32_t>(total - used),
                             static_cast<std::uint32_t>(total)};
}

bool FolderDrives::DriveReady(char drive) {
  const Folder* folder = FolderOf(drive);
  if (folder == nullptr) return false;
  if (folder->disk_capacity == 0) return base_.DriveReady(folder->root.drive);
  const Result<platform::AttributeWord> root = base_.GetAttributes(folder->root.ToString());
  return root && (*root & platform::attribute::kDirectory) != 0;
}

}  // namespace qv::arq
