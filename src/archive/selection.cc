#include "archive/selection.h"

#include <algorithm>

#include "archive/archive_names.h"
#include "archive/wildcard.h"

namespace qv::archive {
namespace {

// The folder of a name without its closing '\' ("" for a bare name).
std::string_view FolderName(std::string_view path) {
  std::string_view folder = FolderOf(path);
  if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  return folder;
}

bool AddEntryMatches(const SelectionEntry& entry, std::string_view member) {
  const std::string_view file_pattern = FilePart(entry.pattern);
  const std::string_view folder = entry.stored_folder;
  if (!HasWildcards(entry.pattern)) {
    std::string expected(folder);
    if (!expected.empty()) expected += '\\';
    expected += file_pattern;
    return SameIgnoringCase(member, expected);
  }
  const std::string_view member_folder = FolderName(member);
  const bool inside =
      folder.empty() || SameIgnoringCase(member_folder, folder) ||
      (member_folder.size() > folder.size() && member_folder[folder.size()] == '\\' &&
       SameIgnoringCase(member_folder.substr(0, folder.size()), folder));
  return inside && WildcardMatch(file_pattern, FilePart(member));
}

}  // namespace

bool EntryMatches(const SelectionEntry& entry, std::string_view member, bool keep_paths) {
  if (entry.kind == EntryKind::kAdd && keep_paths) return AddEntryMatches(entry, member);
  const std::string_view pattern = StripDriveAndLeadingDots(entry.pattern);
  if (!keep_paths) return WildcardMatch(FilePart(pattern), member);
  const std::string_view folder = FolderName(pattern);
  if (folder.empty()) return WildcardMatch(pattern, FilePart(member));
  return WildcardMatch(folder, FolderName(member)) &&
         WildcardMatch(FilePart(pattern), FilePart(member));
}

bool Selection::Holds(EntryKind kind) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [kind](const SelectionEntry& entry) { return entry.kind == kind; });
}

SelectionEntry* Selection::FirstMatch(std::string_view member, bool keep_paths) {
  for (SelectionEntry& entry : entries_) {
    if (EntryMatches(entry, member, keep_paths)) return &entry;
  }
  return nullptr;
}

void Selection::NoteMatched(SelectionEntry& entry) {
  if (!HasWildcards(entry.pattern)) entry.done = true;
}

bool Selection::AllDone() const {
  return !entries_.empty() && std::all_of(entries_.begin(), entries_.end(),
                                          [](const SelectionEntry& entry) { return entry.done; });
}

}  // namespace qv::archive
