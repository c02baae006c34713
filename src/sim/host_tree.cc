#include "sim/host_tree.h"

#include <algorithm>

#include "platform/dos_path.h"

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

bool IsVisibleName(const std::string& name) {
  return platform::IsValidName(name) && name.find_last_not_of(". ") == name.size() - 1;
}

// A regular file or folder, never a symbolic link (nothing outside the
// drive's folder can be reached).
std::optional<HostEntry> EntryOfType(std::string name, bool link, bool folder, bool regular) {
  if (link || !(folder || regular) || !IsVisibleName(name)) return std::nullopt;
  return HostEntry{std::move(name), folder};
}

}  // namespace

std::vector<HostEntry> VisibleCandidates(const fs::path& folder) {
  std::vector<HostEntry> candidates;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    // The type as the listing gave it: no lstat per entry, which made every
    // path lookup cost a call per name in each folder on its way.
    std::error_code type_error;
    std::optional<HostEntry> entry =
        EntryOfType(it->path().filename().string(), it->is_symlink(type_error),
                    it->is_directory(type_error), it->is_regular_file(type_error));
    if (entry) candidates.push_back(std::move(*entry));
  }
  return candidates;
}

std::optional<HostEntry> VisibleCandidate(const fs::path& folder, std::string name) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(folder / name, error);
  if (error) return std::nullopt;
  return EntryOfType(std::move(name), fs::is_symlink(status), fs::is_directory(status),
                     fs::is_regular_file(status));
}

std::vector<HostEntry> VisibleEntries(const fs::path& folder, platform::CodePage page) {
  struct Candidate {
    std::string folded;
    HostEntry entry;
  };
  std::vector<Candidate> candidates;
  for (HostEntry& entry : VisibleCandidates(folder))
    candidates.push_back({platform::FoldName(page, entry.name), std::move(entry)});
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.entry.name < b.entry.name;
  });
  std::vector<HostEntry> entries;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (i > 0 && candidates[i].folded == candidates[i - 1].folded) continue;
    entries.push_back(std::move(candidates[i].entry));
  }
  return entries;
}

}  // namespace qv::sim
