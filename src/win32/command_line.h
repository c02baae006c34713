// The loader's command line as WinMain receives it: what the system's
// command line holds after the program's name.
#pragma once

#include <string_view>

namespace qv::win32 {

// The part of a command line after the program's name (in quotes or not)
// and the blanks after it.
std::string_view ArgumentsOf(std::string_view command_line);

}  // namespace qv::win32
