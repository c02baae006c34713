#include "instrument/ram_drive_contents.h"

#include <string>

#include "instrument/file_removal.h"
#include "upgrade/current_folder.h"

namespace qv::instrument {
namespace {

bool IsDotEntry(std::string_view name) {
  return name == "." || name == "..";
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  return path + std::string(name);
}

// Empties the folder, which is current, and leaves it current. Each
// subfolder is entered, emptied, left and removed.
void EmptyCurrentFolder(platform::Files& files, app::UserHelpers& helpers,
                        std::string_view folder) {
  const platform::Result<std::vector<platform::FindData>> entries = files.Find("*.*");
  if (!entries) return;
  for (const platform::FindData& entry : *entries) {
    if ((entry.attributes & platform::attribute::kDirectory) == 0) {
      RemoveWithWritePermission(files, entry.name);
    } else if (!IsDotEntry(entry.name)) {
      const std::string path = JoinPath(folder, entry.name);
      if (files.ChangeFolder(path)) EmptyCurrentFolder(files, helpers, path);
      files.ChangeFolder(folder);
      if (!files.RemoveFolder(path)) helpers.SystemErrorBox();
    }
  }
}

}  // namespace

void EmptyRamDriveFolder(platform::Files& files, app::UserHelpers& helpers,
                         std::string_view folder) {
  const platform::Result<std::string> full = files.FullPath(folder);
  if (!full || full->empty()) return;
  if (files.GetDriveType((*full)[0]) != platform::DriveType::kRamDisk) return;
  const std::optional<std::string> remembered = upgrade::RememberCurrentFolder(files);
  if (files.ChangeFolder(folder)) EmptyCurrentFolder(files, helpers, folder);
  if (remembered) files.ChangeFolder(*remembered);
}

LibraryCopy CopyLibrariesToRamDrive(platform::Files& files) {
  if (!files.ChangeDrive('D')) return LibraryCopy::kNoRamDrive;
  files.ChangeDrive('C');
  // Libraries found elsewhere on C: are none of the scope application's.
  if (!files.ChangeFolder(kLibraryFolder)) return LibraryCopy::kNoLibraries;
  platform::Result<std::vector<platform::FindData>> libraries = files.Find("*.dll");
  if (!libraries) return LibraryCopy::kNoLibraries;
  for (const platform::FindData& library : *libraries) {
    files.Copy(library.name, JoinPath(kRamDriveRoot, library.name), /*fail_if_exists=*/false);
  }
  return LibraryCopy::kCopied;
}

}  // namespace qv::instrument
