// One drive of the machine: a host folder (drives/C, drives/A ...), its type,
// and the space on it. The space used is the files' sizes rounded up to whole
// clusters plus one cluster per folder; it is counted from the host folder
// when first needed and then kept up to date by the writes of this layer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "platform/file_types.h"
#include "sim/machine_config.h"

namespace qv::sim {

class Drive {
 public:
  Drive(DriveConfig config, std::filesystem::path root) : config_(config), root_(std::move(root)) {}

  char letter() const { return config_.letter; }
  platform::DriveType type() const { return config_.type; }
  const std::filesystem::path& root() const { return root_; }
  bool write_protected() const { return config_.write_protected; }
  // A fixed drive always has its medium; a removable one while its host
  // folder exists (the disk is in the drive).
  bool MediumPresent() const;

  // False when the host's own space is the drive's: the host refuses what
  // does not fit, and Resize has nothing to count.
  bool counts_space() const { return !config_.host_space; }
  bool batches_writes() const { return config_.batch_writes; }
  platform::DiskSpace Space();
  // Makes room for a file to go from old_size to new_size bytes; false (and
  // nothing changes) when the clusters it needs are not free.
  bool Resize(std::uint64_t old_size, std::uint64_t new_size);
  // Something changed the drive in a way not counted: count again when next needed.
  void Recount() { used_.reset(); }

 private:
  std::uint64_t Clusters(std::uint64_t bytes) const;
  std::uint64_t UsedClusters();

  DriveConfig config_;
  std::filesystem::path root_;
  std::optional<std::uint64_t> used_;  // clusters
};

}  // namespace qv::sim
