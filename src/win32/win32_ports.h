// The ports of the system itself, together. The board comes from outside:
// the product hands in the real one, the tests under Wine a stand-in.
#pragma once

#include "platform/platform.h"
#include "win32/win32_desktop.h"
#include "win32/win32_files.h"
#include "win32/win32_registry.h"
#include "win32/win32_system.h"

namespace qv::win32 {

struct Win32Ports {
  Win32Files files;
  Win32Registry registry;
  Win32Desktop desktop;
  Win32System system;

  platform::Platform With(platform::Board& board) {
    return {files, registry, desktop, system, board};
  }
};

}  // namespace qv::win32
