// Starting another program ends the loader: the new process gets the
// arguments joined with single spaces (argument 0 first, in place of the
// program's path, without quoting, so an argument with spaces reaches it as
// several words), the loader's environment and current folder, and the
// loader then ends at once with exit code 0, without any clean-up of its own.
#pragma once

#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace qv::app {

// Ends the loader at once. Every exit of the loader uses exit code 0.
[[noreturn]] void ExitLoader(platform::System& system);

// Does not return when the program started. Returns -1 when it could not be
// started, with the reason as the last error.
int StartProgram(platform::System& system, std::string_view program,
                 const std::vector<std::string_view>& arguments);

}  // namespace qv::app
