// The folders of the staging and backup trees: a short list of at most ten
// folders, found level by level in the file system's order down to three
// levels below a root, and the clearing of a tree of its files. Folders
// named temp (in any case) are neither listed, looked into nor cleared, so
// the package in the staging tree and the undo marker in the backup tree
// stay.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace qv::upgrade {

inline constexpr std::size_t kFolderListEntries = 10;
// An entry is kept in 80 characters with its terminator.
inline constexpr std::size_t kFolderEntryLength = 79;
inline constexpr int kFolderListLevels = 3;

// Folder paths relative to the root, lower case, "\" between their names
// ("scope\bin"); never more than kFolderListEntries.
using FolderList = std::vector<std::string>;

// Lists the folders below root (a path ending in "\"). Empty when the root
// cannot be made current or holds nothing at all. Leaves C: current and the
// last folder visited as its current folder.
FolderList ListFolders(platform::Files& files, std::string_view root);

// Deletes the files (read-only ones too) of the root and of every folder
// below it, at any depth, but temp folders; folders themselves stay,
// failures are passed over. Whatever a tree held before an upgrade must
// not be installed or kept as its backup. Leaves C: current.
void ClearTree(platform::Files& files, std::string_view root);

// Deletes the files of the current folder, read-only ones too, in the
// order the system lists them; its folders stay, failures are passed over.
void DeleteFilesHere(platform::Files& files);

// Creates (or empties) the undo marker in the backup tree: false when it
// cannot be created.
bool CreateUndoMarker(platform::Files& files);

}  // namespace qv::upgrade
