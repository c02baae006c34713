#include "loader/win32_loader.h"

#include "loader/loader.h"
#include "win32/win32_ports.h"

namespace qv::loader {

int RunWin32Loader(platform::Board& board) {
  win32::Win32Ports ports;
  return RunLoader(ports.With(board));
}

}  // namespace qv::loader
