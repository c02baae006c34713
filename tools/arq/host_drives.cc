#include "tools/arq/host_drives.h"

#include <algorithm>
#include <stdexcept>

namespace qv::arq {

namespace fs = std::filesystem;

namespace {

// The path with symbolic links resolved as far as it exists.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path), error);
  return error ? fs::absolute(path).lexically_normal() : resolved;
}

// The DOS path of `host` below `root` on drive `letter`, if it is below.
std::optional<std::string> Below(const fs::path& root, const fs::path& host, char letter) {
  const fs::path relative = host.lexically_relative(root);
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  std::string dos{letter, ':', '\\'};
  for (const fs::path& name : relative) {
    if (name == ".") continue;
    if (dos.back() != '\\') dos += '\\';
    dos += name.string();
  }
  return dos;
}

}  // namespace

HostDrives::HostDrives(const DriveOptions& options)
    : scratch_(MakeScratch()), system_(MakeSystem(options)) {
  if (options.c_folder) {
    std::error_code error;
    if (!fs::is_directory(*options.c_folder, error)) {
      fs::remove_all(scratch_, error);
      throw std::runtime_error(options.c_folder->string() + ": not a folder");
    }
    Mount('C', fs::canonical(*options.c_folder));
  }
  for (const auto& [letter, root] : HostRoots(options.c_folder.has_value()))
    Mount(letter, root);
  Mount('T', scratch_);
  for (const fs::path& disk : options.disks)
    disks_.push_back(Resolved(disk));
  if (!disks_.empty()) InsertDisk(1);
  // Relative names mean the working folder when C: is the host's root.
  const std::optional<std::string> here = options.c_folder ? "C:\\" : DosPath(fs::current_path());
  if (here) files().ChangeFolder(*here);
}

bool HostDrives::InsertDisk(int number) {
  const bool present = number >= 1 && number <= disk_count();
  const fs::path folder =
      present ? disks_[static_cast<std::size_t>(number - 1)] : scratch_ / "no-disk";
  PutInDriveA(folder);
  std::error_code error;
  return present && fs::is_directory(folder, error);
}

void HostDrives::Mount(char letter, const fs::path& folder) {
  mounts_[letter] = Resolved(folder);
  Attach(letter, mounts_[letter]);
}

std::optional<std::string> HostDrives::DosPath(const fs::path& host) const {
  const fs::path resolved = Resolved(host);
  std::optional<std::string> best;
  std::size_t best_depth = 0;
  for (const auto& [letter, root] : mounts_) {
    const std::size_t depth = static_cast<std::size_t>(std::distance(root.begin(), root.end()));
    std::optional<std::string> dos = Below(root, resolved, letter);
    if (dos && (!best || depth > best_depth)) {
      best = std::move(dos);
      best_depth = depth;
    }
  }
  return best;
}

std::string HostDrives::HostPath(std::string_view dos) const {
  if (dos.size() < 3 || dos[1] != ':' || dos[2] != '\\') return std::string(dos);
  const auto mount = mounts_.find(platform::NormalDrive(dos[0]));
  if (mount == mounts_.end()) return std::string(dos);
  std::string rest(dos.substr(3));
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return (mount->second / rest).string();
}

}  // namespace qv::arq
