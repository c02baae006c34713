#include "sim/folder_listings.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kNameChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

std::timespec CoarseNow() {
  std::timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return now;
}

bool Before(const std::timespec& a, const std::timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

bool IsAtOrBelow(const std::string& path, const std::string& folder) {
  return path.starts_with(folder) &&
         (path.size() == folder.size() || folder.ends_with('/') || path[folder.size()] == '/');
}

}  // namespace

FolderListings::FolderListings(platform::CodePage page, Watching watching)
    : page_(page), watching_(watching) {}

FolderListings::~FolderListings() {
  if (changes_ >= 0) ::close(changes_);
}

bool FolderListings::Stamp::SameFolder(const Stamp& other) const {
  return device == other.device && inode == other.inode;
}

bool FolderListings::Stamp::operator==(const Stamp& other) const {
  return SameFolder(other) && changed.tv_sec == other.changed.tv_sec &&
         changed.tv_nsec == other.changed.tv_nsec;
}

std::optional<FolderListings::Stamp> FolderListings::StampOf(const fs::path& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return Stamp{info.st_dev, info.st_ino, info.st_ctim};
}

FolderListings::Listing FolderListings::ListFolder(const fs::path& folder, const Stamp& stamp) {
  Listing listing{.stamp = stamp, .by_folded_name = {}};
  for (HostEntry& entry : VisibleCandidates(folder)) {
    const auto [kept, made] =
        listing.by_folded_name.try_emplace(platform::FoldName(page_, entry.name), entry);
    if (made) continue;
    // Of names that differ only in case, the first in byte order is seen.
    listing.hidden_names = true;
    if (entry.name < kept->second.name) kept->second = std::move(entry);
  }
  return listing;
}

const FolderListings::Listing* FolderListings::Fresh(const fs::path& folder, bool below_last) {
  if (!below_last) TakeChanges();
  const auto kept = listings_.find(folder.native());
  if (below_last && kept != listings_.end() && kept->second.watch >= 0 &&
      found_parent_watched_since_ < kept->second.seen_at_path) {
    return &kept->second;
  }
  // The clock is read before the stamp: a change after this moment is
  // stamped at this tick or later.
  const std::timespec now = CoarseNow();
  // The stamp is taken before the watch is set: a folder put in this one's
  // place in between is another inode at the next lookup.
  const std::optional<Stamp> stamp = StampOf(folder);
  if (!stamp) return nullptr;
  const std::uint64_t stamped = ++moment_;
  bool again = folder.native() == unkept_folder_;
  if (kept != listings_.end()) {
    Listing& listing = kept->second;
    const bool valid =
        listing.watch >= 0 ? listing.stamp.SameFolder(*stamp) : listing.stamp == *stamp;
    // A folder listed before its kind was watched is listed once more, watched.
    if (valid && (listing.watch_tried || !WorthWatching(folder.native(), false))) {
      listing.seen_at_path = stamped;
      return &listing;
    }
    Drop(kept);
    again = again || !valid;
  }
  if (listings_.size() >= kMostFolders) DropAll();

  // Set before the folder is listed: a change while it is listed is taken
  // in again, which leaves the listing as it is.
  const bool watch_tried = WorthWatching(folder.native(), again);
  const int watch = watch_tried ? Watch(folder) : -1;
  Listing listing = ListFolder(folder, *stamp);
  listing.watch = watch;
  listing.watch_tried = watch_tried;
  listing.watched_since = ++moment_;
  listing.seen_at_path = stamped;
  if (again && watch < 0) {
    entries_listed_again_[folder.native()] += listing.by_folded_name.size();
    all_entries_listed_again_ += listing.by_folded_name.size();
  }
  if (watch < 0 && !Before(stamp->changed, now)) {
    unkept_ = std::move(listing);
    unkept_folder_ = folder.native();
    return &unkept_;
  }
  if (unkept_folder_ == folder.native()) unkept_folder_.clear();
  if (watch >= 0) {
    // The host has one watch per folder: a listing of the same folder under
    // another path gives way.
    const auto other = folder_of_watch_.find(watch);
    if (other != folder_of_watch_.end()) listings_.erase(other->second);
    folder_of_watch_.insert_or_assign(watch, folder.native());
  }
  return &listings_.insert_or_assign(folder.native(), std::move(listing)).first->second;
}

bool FolderListings::WorthWatching(const std::string& folder, bool again) {
  switch (watching_) {
    case Watching::kNone:
      return false;
    case Watching::kEveryFolder:
      return true;
    case Watching::kEveryFolderOnceBusy:
      return all_entries_listed_again_ >= kBusyEntriesInAll;
    case Watching::kBusyFolders:
      break;
  }
  if (!again) return false;
  if (entries_listed_again_.size() >= kMostFolders) entries_listed_again_.clear();
  const auto listed = entries_listed_again_.find(folder);
  return listed != entries_listed_again_.end() && listed->second >= kBusyEntries;
}

int FolderListings::Watch(const fs::path& folder) {
  if (changes_ == kNotOpened) changes_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (changes_ < 0) return -1;
  return ::inotify_add_watch(changes_, folder.c_str(), kNameChanges | kFolderGone | IN_ONLYDIR);
}

void FolderListings::TakeChanges() {
  if (changes_ < 0) return;
  alignas(inotify_event) char buffer[16 * 1024];
  for (;;) {
    const ssize_t got = ::read(changes_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    for (ssize_t at = 0; at < got;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      if ((event.mask & IN_Q_OVERFLOW) != 0) {
        DropAll();
        continue;
      }
      const auto folder = folder_of_watch_.find(event.wd);
      if (folder == folder_of_watch_.end()) continue;  // a watch already given up
      const auto listing = listings_.find(folder->second);
      if ((event.mask & kFolderGone) != 0) {
        DropTree(std::string(folder->second));
      } else if ((event.mask & kNameChanges) != 0 && event.len > 0 && listing != listings_.end()) {
        TakeNameChange(listing, event.mask, name);
      }
    }
  }
}

void FolderListings::TakeNameChange(Listings::iterator at, std::uint32_t mask,
                                    const std::string& name) {
  const fs::path folder = at->first;
  // Listings kept below a folder entry that came or went are of folders
  // that are no longer at their paths.
  if ((mask & IN_ISDIR) != 0) DropTree((folder / name).native());
  Listing& listing = at->second;
  if (listing.hidden_names) {
    Drop(at);
    return;
  }
  std::string folded = platform::FoldName(page_, name);
  const auto kept = listing.by_folded_name.find(folded);
  const bool kept_this_name = kept != listing.by_folded_name.end() && kept->second.name == name;
  // The entry as it is now, whatever the change reported: the changes of one
  // call may come in any order (an exchange of two names is a move each
  // way), and a later change of the name follows in the report.
  std::optional<HostEntry> entry = VisibleCandidate(folder, name);
  if (!entry) {
    if (kept_this_name) listing.by_folded_name.erase(kept);
    return;
  }
  if (kept != listing.by_folded_name.end() && !kept_this_name) {
    Drop(at);  // a second name for one DOS entry: which is seen needs a listing
    return;
  }
  listing.by_folded_name.insert_or_assign(std::move(folded), std::move(*entry));
}

void FolderListings::Drop(Listings::iterator at) {
  if (at->second.watch >= 0) {
    ::inotify_rm_watch(changes_, at->second.watch);
    folder_of_watch_.erase(at->second.watch);
  }
  listings_.erase(at);
}

void FolderListings::DropTree(const std::string& folder) {
  for (auto at = listings_.begin(); at != listings_.end();) {
    const auto next = std::next(at);
    if (IsAtOrBelow(at->first, folder)) Drop(at);
    at = next;
  }
}

void FolderListings::DropAll() {
  while (!listings_.empty())
    Drop(listings_.begin());
}

std::optional<HostEntry> FolderListings::Find(const fs::path& folder, std::string_view name,
                                              bool below_last) {
  const Listing* listing = Fresh(folder, below_last && folder.native() == found_folder_);
  found_folder_.clear();
  if (!listing) return std::nullopt;
  const auto found = listing->by_folded_name.find(platform::FoldName(page_, name));
  if (found == listing->by_folded_name.end()) return std::nullopt;
  if (found->second.folder) {
    found_folder_ = (folder / found->second.name).native();
    found_parent_watched_since_ = listing->watch >= 0 ? listing->watched_since : kUnwatched;
  }
  return found->second;
}

}  // namespace qv::sim
