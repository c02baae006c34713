#include "sim/host_tree.h"

#include <algorithm>

#include "platform/dos_path.h"

namespace qv::sim {

namespace fs = std::filesystem;

std::vector<HostEntry> VisibleEntries(const fs::path& folder, platform::CodePage page) {
  struct Candidate {
    std::string folded;
    HostEntry entry;
  };
  std::vector<Candidate> candidates;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    // The entry's type as the listing gave it (no lstat per entry, which
    // made every path lookup cost a call per name in each folder on its way).
    std::error_code type_error;
    if (it->is_symlink(type_error)) continue;
    const bool folder_entry = it->is_directory(type_error);
    if (!folder_entry && !it->is_regular_file(type_error)) continue;
    std::string name = it->path().filename().string();
    if (!platform::IsValidName(name) || name.find_last_not_of(". ") != name.size() - 1) continue;
    candidates.push_back({platform::FoldName(page, name), {std::move(name), folder_entry}});
  }
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

std::optional<HostEntry> FindEntry(const fs::path& folder, std::string_view name,
                                   platform::CodePage page) {
  const std::string wanted = platform::FoldName(page, name);
  for (HostEntry& entry : VisibleEntries(folder, page)) {
    if (platform::FoldName(page, entry.name) == wanted) return std::move(entry);
  }
  return std::nullopt;
}

}  // namespace qv::sim
