#include "sim/drive.h"

#include <sys/statvfs.h>

#include <algorithm>

namespace qv::sim {

namespace fs = std::filesystem;

bool Drive::MediumPresent() const {
  // Every path lookup asks: a fixed drive answers without a system call.
  if (config_.type == platform::DriveType::kFixed) return true;
  std::error_code error;
  return fs::is_directory(root_, error);
}

std::uint64_t Drive::Clusters(std::uint64_t bytes) const {
  return (bytes + config_.cluster_bytes - 1) / config_.cluster_bytes;
}

std::uint64_t Drive::UsedClusters() {
  if (used_) return *used_;
  std::uint64_t clusters = 0;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end;
       it.increment(error)) {
    const fs::file_status status = it->symlink_status(error);
    if (fs::is_directory(status)) {
      ++clusters;
    } else if (fs::is_regular_file(status)) {
      clusters += Clusters(it->file_size(error));
    }
  }
  used_ = clusters;
  return clusters;
}

platform::DiskSpace Drive::Space() {
  constexpr std::uint32_t kSectorBytes = 512;
  const auto clamp = [](std::uint64_t n) {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(n, 0xFFFFFFFF));
  };
  if (config_.host_space) {
    struct statvfs host {};
    if (::statvfs(root_.c_str(), &host) != 0) return {};
    const std::uint64_t unit = host.f_frsize;
    return {.sectors_per_cluster = config_.cluster_bytes / kSectorBytes,
            .bytes_per_sector = kSectorBytes,
            .free_clusters = clamp(host.f_bavail * unit / config_.cluster_bytes),
            .total_clusters = clamp(host.f_blocks * unit / config_.cluster_bytes)};
  }
  const std::uint64_t total = config_.capacity / config_.cluster_bytes;
  const std::uint64_t used = std::min(UsedClusters(), total);
  return {.sectors_per_cluster = config_.cluster_bytes / kSectorBytes,
          .bytes_per_sector = kSectorBytes,
          .free_clusters = clamp(total - used),
          .total_clusters = clamp(total)};
}

bool Drive::Resize(std::uint64_t old_size, std::uint64_t new_size) {
  if (!counts_space()) return true;
  const std::uint64_t used = UsedClusters();
  const std::uint64_t before = Clusters(old_size), after = Clusters(new_size);
  if (after <= before) {
    used_ = used - std::min(used, before - after);
    return true;
  }
  const std::uint64_t total = config_.capacity / config_.cluster_bytes;
  if (used + (after - before) > total) return false;
  used_ = used + (after - before);
  return true;
}

}  // namespace qv::sim
