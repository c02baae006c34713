#include "sim/host_tree.h"

#include <algorithm>

#include "platform/dos_path.h"

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

// Calls `seen` with every entry of the folder that DOS can see: a regular
// file or folder (the type as the listing gave it: no lstat per entry, which
// made every path lookup cost a call per name in each folder on its way)
// whose name is a valid DOS name.
template <typename Seen>
void ForEachVisible(const fs::path& folder, Seen seen) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code type_error;
    if (it->is_symlink(type_error)) continue;
    const bool folder_entry = it->is_directory(type_error);
    if (!folder_entry && !it->is_regular_file(type_error)) continue;
    std::string name = it->path().filename().string();
    if (!platform::IsValidName(name) || name.find_last_not_of(". ") != name.size() - 1) continue;
    seen(HostEntry{std::move(name), folder_entry});
  }
}

}  // namespace

std::vector<HostEntry> VisibleEntries(const fs::path& folder, platform::CodePage page) {
  struct Candidate {
    std::string folded;
    HostEntry entry;
  };
  std::vector<Candidate> candidates;
  ForEachVisible(folder, [&](HostEntry entry) {
    candidates.push_back({platform::FoldName(page, entry.name), std::move(entry)});
  });
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
