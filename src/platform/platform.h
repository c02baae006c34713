// The ports together, as the loader and the library receive them.
#pragma once

#include "platform/board.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qv::platform {

struct Platform {
  Files& files;
  Registry& registry;
  System& system;
  Board& board;
  // The window system (Desktop port) joins here with the loader.
};

}  // namespace qv::platform
