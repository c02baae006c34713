// The rename list an installer leaves as c:\chname: one rename per line,
// "old new" (names relative to the current folder, or full paths), and
// lines that begin with "\" naming the folder that the lines after them
// work in. A read-only file keeps its attribute under its new name.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace qv::instrument {

// Carries out the list. True when it was read to its end (the caller then
// deletes it); false when it cannot be opened or a folder line cannot be
// entered (the rest then waits for the next boot). A rename that fails
// shows the system's error and the list goes on. Lines that end with a line
// feed are carried out, and so is the last line without one, which would
// otherwise be lost when the list is deleted; a line with fewer than two
// words is skipped.
bool CarryOutRenameList(platform::Platform platform, std::string_view path);

}  // namespace qv::instrument
