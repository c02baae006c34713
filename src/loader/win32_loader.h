// The loader's process on Windows: the application on the system's own
// ports, with the board the program hands in.
#pragma once

#include "platform/board.h"

namespace qv::loader {

// Runs the loader; its exit code when it returns.
int RunWin32Loader(platform::Board& board);

}  // namespace qv::loader
