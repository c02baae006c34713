// The ports together, as the loader and the library receive them.
#pragma once

#include "platform/board.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qv::platform {

struct Platform {
  Files& files;
  Registry& registry;
  Desktop& desktop;
  System& system;
  Board& board;
};

}  // namespace qv::platform
