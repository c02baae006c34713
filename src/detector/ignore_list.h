// The ignore list: the program names that the window scan never asks
// about, kept in the registry below HKEY_LOCAL_MACHINE so that an "Ignore
// always" answer lasts across boots, with the built-in names of the
// instrument's own system and utility windows. Every name that enters the
// list also enters the scan's skip list.
//
// Registry layout, below "SOFTWARE\Halcyra\Quorvex\Loader\Processes":
// "NumberOfProcs" (REG_DWORD, the count n) and "Proc0" .. "Proc<n-1>"
// (REG_SZ, the name's bytes without a terminating zero).
#pragma once

#include <array>
#include <string_view>

#include "app/user_helpers.h"
#include "detector/title_match.h"
#include "platform/registry.h"

namespace qv::detector {

inline constexpr std::string_view kLoaderKey = "SOFTWARE\\Halcyra\\Quorvex\\Loader";
inline constexpr std::string_view kProcessesKey = "SOFTWARE\\Halcyra\\Quorvex\\Loader\\Processes";
inline constexpr std::string_view kCountValue = "NumberOfProcs";

// Added by a merge when missing, in this order.
inline constexpr std::array<std::string_view, 9> kMergeDefaults{
    "Program Manager",      "Spooler Process",      "DDE Server Window",
    "OleMainThreadWndName", "MS_WebcheckMonitor",   "OleChannelWnd",
    "Power Meter",          "InstallSHIELD Delete", "DESTECH CPU Cooler Utility"};
// What a reset leaves, in this order.
inline constexpr std::array<std::string_view, 9> kResetDefaults{
    "Program Manager",      "Spooler Process",    "DDE Server Window",
    "OleMainThreadWndName", "MS_WebcheckMonitor", "OleChannelWnd",
    "Power Meter",          "DDHelpWndClass",     "InstallSHIELD Delete"};

// A stored count above this is read only when its last entry is there, as
// in every list the loader saves; otherwise it is taken for a damaged count
// rather than read entry by entry, since each missing entry costs the user
// an error box.
inline constexpr std::uint32_t kMaxStoredEntries = 1024;

class IgnoreList {
 public:
  // The registry, the helpers and the skip list must outlive the list.
  IgnoreList(platform::Registry& registry, app::UserHelpers& helpers, NameList& skip)
      : registry_(registry), helpers_(helpers), skip_(skip) {}

  // Empties both lists, then reads the stored names into both. False when
  // the key, the subkey or a sound count is missing; an entry that cannot
  // be read shows the system's error box and is passed over.
  bool Load();
  // Adds each merge default that no entry equals exactly; saves when any
  // was added. A list not yet read in this run (the detector was switched
  // off) is read first, so that the save keeps every stored name.
  void MergeDefaults();
  // Both lists become the reset defaults, which are saved.
  void ResetToDefaults();
  // Rewrites the subkey from the list; write failures are not reported.
  void Save();
  // Adds the name to both lists and saves.
  void AddAndSave(std::string_view name);
  // Empties this list (not the skip list); it is no longer the stored one.
  void Clear() {
    entries_.clear();
    stored_ = false;
  }

  const NameList& entries() const { return entries_; }

 private:
  void Add(std::string_view name);
  // Whether a stored count can be the loader's own (see kMaxStoredEntries).
  bool PlausibleCount(std::uint32_t count);

  platform::Registry& registry_;
  app::UserHelpers& helpers_;
  NameList& skip_;
  NameList entries_;
  // Loaded or saved in this run: a merge works on the list as it stands.
  bool stored_ = false;
};

}  // namespace qv::detector
