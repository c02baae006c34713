// Replacing a file where the system has no replacing rename (Windows 98
// answers MoveFileExA with ERROR_CALL_NOT_IMPLEMENTED): the old file is
// renamed to a side name, the new one renamed into place, the side name
// deleted. A cut between those steps leaves the target or its side name, and
// RepairSideName, which every replace runs first, makes that whole again:
// the target, where it is there, wins; otherwise the side name becomes it.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace qv::win32 {

// The side name of a target: the target's name with "~" after it.
std::string SideNameOf(std::string_view target);

// Finishes what a cut replace of `target` left: removes the side name when
// the target is there, and renames it back to the target when not.
platform::Outcome RepairSideName(platform::Files& files, std::string_view target);

// MoveFileExA with MOVEFILE_REPLACE_EXISTING through renames: `to` holds
// `from`'s file afterwards, and `from` is gone.
platform::Outcome ReplaceThroughSideName(platform::Files& files, std::string_view from,
                                         std::string_view to);

}  // namespace qv::win32
