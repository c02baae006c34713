// The selection list: what ArchiveProcess does with the members, in the
// order the entries were made. Each member is handled by the first entry
// that matches it (entries already done included).
//
// Matching a member against an entry (names upper case, '\' between names;
// the entry's pattern without a leading drive and leading '.' and '\'):
// - without keep-paths, the pattern's file part against the whole name;
// - with keep-paths, a pattern without a folder against the member's file
//   part (APP.EXE selects the first member named APP.EXE in any folder), and
//   a pattern with a folder folder by folder: its folder against the
//   member's folder and its file part against the member's file part;
// - an add entry with keep-paths matches exactly the members that its own
//   file search would have added: the members in its folder (and, for a
//   wildcard pattern, below it) whose file part matches, so that adding
//   SCOPE\BIN\*.EXE leaves SCOPE\TOOLS\X.EXE alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::archive {

enum class EntryKind : std::uint32_t { kAdd = 1, kDelete = 2, kExtract = 3 };

struct SelectionEntry {
  EntryKind kind = EntryKind::kExtract;
  std::string pattern;      // upper case
  std::string destination;  // extract entries: a DestinationFolder
  // Add entries: the folder the pattern names, in the form members store
  // it ("" for the root, "SCOPE\BIN" below it); set before the walk.
  std::string stored_folder;
  // Set once an entry without wildcards has matched.
  bool done = false;
};

bool EntryMatches(const SelectionEntry& entry, std::string_view member, bool keep_paths);

class Selection {
 public:
  void Append(SelectionEntry entry) { entries_.push_back(std::move(entry)); }
  void Clear() { entries_.clear(); }
  std::vector<SelectionEntry>& entries() { return entries_; }
  bool Holds(EntryKind kind) const;

  // The first entry that matches the member, or null.
  SelectionEntry* FirstMatch(std::string_view member, bool keep_paths);
  // Marks an entry without wildcards done.
  static void NoteMatched(SelectionEntry& entry);
  bool AllDone() const;

 private:
  std::vector<SelectionEntry> entries_;
};

}  // namespace qv::archive
