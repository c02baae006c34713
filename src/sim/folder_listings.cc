#include "sim/folder_listings.h"

#include <sys/stat.h>

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

std::timespec CoarseNow() {
  std::timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return now;
}

bool Before(const std::timespec& a, const std::timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

}  // namespace

bool FolderListings::Stamp::operator==(const Stamp& other) const {
  return device == other.device && inode == other.inode && changed.tv_sec == other.changed.tv_sec &&
         changed.tv_nsec == other.changed.tv_nsec;
}

std::optional<FolderListings::Stamp> FolderListings::StampOf(const fs::path& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return Stamp{info.st_dev, info.st_ino, info.st_ctim};
}

const FolderListings::Listing* FolderListings::Fresh(const fs::path& folder) {
  // The clock is read before the stamp: a change after this moment is
  // stamped at this tick or later.
  const std::timespec now = CoarseNow();
  const std::optional<Stamp> stamp = StampOf(folder);
  if (!stamp) return nullptr;
  const auto kept = listings_.find(folder.native());
  if (kept != listings_.end() && kept->second.stamp == *stamp) return &kept->second;
  if (kept != listings_.end()) listings_.erase(kept);

  Listing listing{*stamp, {}};
  for (HostEntry& entry : VisibleEntries(folder, page_)) {
    std::string folded = platform::FoldName(page_, entry.name);
    listing.by_folded_name.emplace(std::move(folded), std::move(entry));
  }
  if (!Before(stamp->changed, now)) {
    unkept_ = std::move(listing);
    return &unkept_;
  }
  if (listings_.size() >= kMostFolders) listings_.clear();
  return &listings_.emplace(folder.native(), std::move(listing)).first->second;
}

std::optional<HostEntry> FolderListings::Find(const fs::path& folder, std::string_view name) {
  const Listing* listing = Fresh(folder);
  if (!listing) return std::nullopt;
  const auto found = listing->by_folded_name.find(platform::FoldName(page_, name));
  if (found == listing->by_folded_name.end()) return std::nullopt;
  return found->second;
}

}  // namespace qv::sim
