// The host folders' listings, kept between path lookups. Every lookup of a
// DOS path passes through each folder on its way, and listing a folder costs
// several system calls and a fold of every name in it, so a listing is kept
// and reused for as long as the folder shows it has not changed.
//
// A folder has not changed while its change time (and identity) is the one
// seen when it was listed. The host stamps changes at a coarse clock tick, so
// a change within the tick of the listing could leave the same time behind:
// a listing whose folder changed in that tick or later is not kept. The check
// takes no part in what the entries are: any change, by this process or
// another, shows in the next lookup.
#pragma once

#include <sys/types.h>

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
  explicit FolderListings(platform::CodePage page) : page_(page) {}

  // What FindEntry finds.
  std::optional<HostEntry> Find(const std::filesystem::path& folder, std::string_view name);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    std::timespec changed{};

    bool operator==(const Stamp& other) const;
  };
  struct Listing {
    Stamp stamp;
    std::unordered_map<std::string, HostEntry> by_folded_name;
  };

  // A bound on the memory: the lookups of one file operation touch a few
  // folders, so a small number covers the folders in use.
  static constexpr std::size_t kMostFolders = 256;

  static std::optional<Stamp> StampOf(const std::filesystem::path& folder);
  const Listing* Fresh(const std::filesystem::path& folder);

  platform::CodePage page_;
  std::unordered_map<std::string, Listing> listings_;
  Listing unkept_;  // the last listing too recent to keep, read once
};

}  // namespace qv::sim
