// What the loader keeps on the RAM drive d:\: it empties the drive at every
// boot and copies the scope application's libraries to it (the launch then
// copies the application itself).
#pragma once

#include <string_view>

#include "app/user_helpers.h"
#include "platform/files.h"

namespace qv::instrument {

inline constexpr std::string_view kRamDriveRoot = "d:\\";
inline constexpr std::string_view kLibraryFolder = "c:\\scope\\bin";

// Deletes every file and folder below the folder, read-only files too, in
// the order the system lists them. A folder that cannot be removed gets
// the system error box and the rest goes on. Only a folder on a RAM drive
// is emptied: a letter that is some other drive holds nothing of ours.
// The current folder is as it was (unless it was longer than 127
// characters, which the loader does not remember).
void EmptyRamDriveFolder(platform::Files& files, app::UserHelpers& helpers,
                         std::string_view folder);

// What the library copy did.
enum class LibraryCopy : int { kNoRamDrive = -1, kNoLibraries = 0, kCopied = 1 };

// Copies every *.dll of c:\scope\bin to d:\, replacing older copies; a
// failed copy is not reported. Leaves drive C: and c:\scope\bin current
// (when d:\ exists).
LibraryCopy CopyLibrariesToRamDrive(platform::Files& files);

}  // namespace qv::instrument
