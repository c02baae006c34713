// The host folders' listings, kept between path lookups. Every lookup of a
// DOS path passes through each folder on its way, and listing a folder costs
// several system calls and a fold of every name in it, so a listing is kept
// and reused; any change, by this process or another, shows in the next
// lookup.
//
// A listing is kept while its folder's change time is the one seen when it
// was listed. The host stamps changes at a coarse clock tick, so a change
// within the tick of the listing could leave the same time behind: a listing
// whose folder changed in that tick or later is not kept.
//
// A folder that keeps changing (an archive extracted into it) would then be
// listed again after every change, a work that grows with the square of its
// size. Once a folder's listings again add up to kBusyEntries entries, it is
// watched instead: the host names every entry made, removed or renamed, and
// the listing takes in that one name. Watches are kept for such folders only,
// because giving them up costs the host a wait of some milliseconds when the
// listings end, which short-lived users of the layer would pay every time.
// A watched listing serves only the same folder (device and inode) at its
// path, which is looked up on every use, unless the lookup came down from
// the folder's parent and the parent was watched when the folder was last
// seen at its path: the parent's watch names any folder put in its place.

#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/code_page.h"
#include "sim/host_tree.h"

namespace qv::sim {

class FolderListings {
 public:
  // Which folders are watched (the others by their change times): busy
  // ones; every folder, once the folders listed again add up to
  // kBusyEntriesInAll entries (for a process that keeps changing many
  // folders); every folder; none.
  enum class Watching { kBusyFolders, kEveryFolderOnceBusy, kEveryFolder, kNone };
  // Entries listed again, for one folder, before it is watched.
  static constexpr std::size_t kBusyEntries = 2'048;
  // Entries listed again, in all, before every folder is watched: listing
  // them took about as long as giving the watches up will (some 1.2 us an
  // entry against 15 ms), so that a process pays at most about twice what
  // the better choice, known only at its end, would have cost.
  static constexpr std::size_t kBusyEntriesInAll = 8'192;

  explicit FolderListings(platform::CodePage page, Watching watching = Watching::kBusyFolders);
  ~FolderListings();
  FolderListings(const FolderListings&) = delete;
  FolderListings& operator=(const FolderListings&) = delete;

  // What FindEntry finds. `below_last`: the folder is the entry the
  // previous call found, the next step down one path. The changes taken in
  // at that call still hold (a path's lookup is one moment, as it would be
  // if the host looked it up), so none are read again.
  std::optional<HostEntry> Find(const std::filesystem::path& folder, std::string_view name,
                                bool below_last = false);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    std::timespec changed{};

    bool SameFolder(const Stamp& other) const;
    bool operator==(const Stamp& other) const;
  };
  struct Listing {
    Stamp stamp;
    int watch = -1;  // the host's watch on the folder, or -1 for none
    // When (in steps of moment_) the watch began, and when the folder was
    // last seen at its path.
    std::uint64_t watched_since = 0;
    std::uint64_t seen_at_path = 0;
    bool watch_tried = false;  // when it was listed
    // Names that differ only in case, of which only the first is seen:
    // which one is seen after a change needs a new listing.
    bool hidden_names = false;
    std::unordered_map<std::string, HostEntry> by_folded_name;
  };
  using Listings = std::unordered_map<std::string, Listing>;

  // A bound on the memory: the lookups of one file operation touch a few
  // folders, so a small number covers the folders in use.
  static constexpr std::size_t kMostFolders = 256;

  static std::optional<Stamp> StampOf(const std::filesystem::path& folder);
  // The listing of a folder as it is now. `below_last`: the folder is the
  // one the previous call found (the host's reports were taken in then, and
  // a watched parent vouches for a watched listing).
  const Listing* Fresh(const std::filesystem::path& folder, bool below_last);
  // Whether to watch a folder about to be listed (`again`: listed before).
  bool WorthWatching(const std::string& folder, bool again);
  // A watch on the folder, or -1 when the host gives none.
  int Watch(const std::filesystem::path& folder);
  Listing ListFolder(const std::filesystem::path& folder, const Stamp& stamp);

  // Takes in the changes the host reported since the last lookup.
  void TakeChanges();
  // Name: a change of one entry of the listing at `at`.
  void TakeNameChange(Listings::iterator at, std::uint32_t mask, const std::string& name);
  void Drop(Listings::iterator at);
  // Drops the listings of `folder` and of every folder below it.
  void DropTree(const std::string& folder);
  void DropAll();

  static constexpr int kNotOpened = -2;

  platform::CodePage page_;
  Watching watching_;
  // The host's channel for changes, opened at the first watch; -1 for none.
  int changes_ = kNotOpened;
  Listings listings_;
  std::unordered_map<int, std::string> folder_of_watch_;
  // Entries listed again, by folder and in all, for folders not yet watched.
  std::unordered_map<std::string, std::size_t> entries_listed_again_;
  std::size_t all_entries_listed_again_ = 0;
  Listing unkept_;  // the last listing too recent to keep, read once
  std::string unkept_folder_;
  std::uint64_t moment_ = 0;  // counts stamps taken and watches set, in order
  // The folder entry the last call found, and since when its parent was
  // watched (kUnwatched: it was not).
  static constexpr std::uint64_t kUnwatched = ~std::uint64_t{0};
  std::string found_folder_;
  std::uint64_t found_parent_watched_since_ = kUnwatched;
};

}  // namespace qv::sim
