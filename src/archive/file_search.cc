#include "archive/file_search.h"

#include "archive/archive_names.h"
#include "archive/wildcard.h"
#include "platform/file_types.h"

namespace qv::archive {
namespace {

namespace attribute = platform::attribute;

bool IsDotEntry(std::string_view name) {
  return name == "." || name == "..";
}

bool TakenAsFile(const platform::FindData& entry) {
  const platform::AttributeWord bits = entry.attributes;
  if ((bits & attribute::kDirectory) != 0) return false;
  return bits == 0 || (bits & (attribute::kArchive | attribute::kReadOnly)) != 0;
}

std::vector<platform::FindData> Entries(platform::Files& files, const std::string& folder) {
  platform::Result<std::vector<platform::FindData>> found = files.Find(folder + "*.*");
  return found ? std::move(*found) : std::vector<platform::FindData>{};
}

// Appends the folders below `folder` (each ending in '\'), depth first.
void ListFolders(LibraryState& state, const std::string& folder,
                 std::vector<std::string>& folders) {
  for (const platform::FindData& entry : Entries(state.files, folder)) {
    if ((entry.attributes & attribute::kDirectory) == 0 || IsDotEntry(entry.name)) continue;
    const std::string below = folder + entry.name + '\\';
    folders.push_back(below);
    state.RaiseScratch(event::kSearchDirectory, static_cast<std::int32_t>(folders.size()), below);
    ListFolders(state, below, folders);
  }
}

}  // namespace

std::vector<std::string> SearchFiles(LibraryState& state, std::string_view pattern) {
  const std::string name_pattern = UpperAscii(FilePart(pattern));
  const std::string top(FolderOf(pattern));
  std::vector<std::string> folders{top};
  if (state.keep_paths && HasWildcards(pattern)) {
    state.RaiseScratch(event::kSearchDirectory, 1, top);
    ListFolders(state, top, folders);
    state.RaiseScratch(event::kSearchFinished, static_cast<std::int32_t>(folders.size()));
  }
  std::vector<std::string> found;
  for (const std::string& folder : folders) {
    for (const platform::FindData& entry : Entries(state.files, folder)) {
      if (TakenAsFile(entry) && WildcardMatch(name_pattern, UpperAscii(entry.name))) {
        found.push_back(folder + entry.name);
      }
    }
  }
  return found;
}

}  // namespace qv::archive
