#include "upgrade/folder_list.h"

#include <optional>

#include "upgrade/package_names.h"
#include "upgrade/text_case.h"

namespace qv::upgrade {
namespace {

bool IsExcluded(std::string_view lower_name) {
  return lower_name == "." || lower_name == ".." || lower_name == "temp";
}

// The folders found in the current folder, in the file system's order;
// nullopt when the folder shows nothing at all.
std::optional<std::vector<std::string>> SubfolderNames(platform::Files& files) {
  platform::Result<std::vector<platform::FindData>> found = files.Find("*");
  if (!found) return std::nullopt;
  std::vector<std::string> names;
  for (const platform::FindData& entry : *found) {
    if ((entry.attributes & platform::attribute::kDirectory) == 0) continue;
    std::string name = ToLower(entry.name);
    if (!IsExcluded(name)) names.push_back(std::move(name));
  }
  return names;
}

class Lister {
 public:
  Lister(platform::Files& files, std::string_view root) : files_(files), root_(root) {}

  FolderList List() {
    if (!files_.ChangeDrive('C') || !files_.ChangeFolder(root_)) return {};
    std::optional<std::vector<std::string>> top = SubfolderNames(files_);
    if (!top) return {};
    for (std::string& name : *top)
      Store(std::move(name));
    // Each level looks into the entries the level before it stored.
    std::size_t level_begin = 0;
    for (int level = 2; level <= kFolderListLevels; ++level) {
      const std::size_t level_end = list_.size();
      for (std::size_t i = level_begin; i < level_end && !Full(); ++i) {
        const std::string parent = list_[i];
        if (!files_.ChangeFolder(root_ + parent)) continue;
        for (const std::string& name : SubfolderNames(files_).value_or(std::vector<std::string>{}))
          Store(parent + "\\" + name);
      }
      level_begin = level_end;
    }
    return list_;
  }

 private:
  bool Full() const { return list_.size() >= kFolderListEntries; }

  void Store(std::string entry) {
    // An entry that does not fit is left out rather than cut, so that a cut
    // name never stands for another folder whose files would be cleared.
    if (Full() || entry.size() > kFolderEntryLength) return;
    list_.push_back(std::move(entry));
  }

  platform::Files& files_;
  std::string root_;
  FolderList list_;
};

}  // namespace

void DeleteFilesHere(platform::Files& files) {
  platform::Result<std::vector<platform::FindData>> found = files.Find("*");
  if (!found) return;
  for (const platform::FindData& entry : *found) {
    if ((entry.attributes & platform::attribute::kDirectory) != 0) continue;
    files.SetWritable(entry.name, true);
    files.Remove(entry.name);
  }
}

FolderList ListFolders(platform::Files& files, std::string_view root) {
  return Lister(files, root).List();
}

void ClearTree(platform::Files& files, std::string_view root) {
  if (!files.ChangeDrive('C') || !files.ChangeFolder(root)) return;
  platform::Result<std::vector<platform::FindData>> found = files.Find("*");
  if (!found) return;
  std::vector<std::string> folders;
  for (const platform::FindData& entry : *found) {
    if ((entry.attributes & platform::attribute::kDirectory) == 0) {
      files.SetWritable(entry.name, true);
      files.Remove(entry.name);
    } else if (!IsExcluded(ToLower(entry.name))) {
      folders.push_back(std::string(root) + entry.name + "\\");
    }
  }
  for (const std::string& folder : folders)
    ClearTree(files, folder);
}

bool CreateUndoMarker(platform::Files& files) {
  platform::Result<platform::Stream> marker = files.Open(kUndoMarkerPath, "wb");
  return marker && marker->Close();
}

}  // namespace qv::upgrade
