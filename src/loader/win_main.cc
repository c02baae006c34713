// qv731Ldr.exe: the loader on the instrument, with its acquisition board.
#include <windows.h>

#include "loader/win32_loader.h"
#include "win32/win32_board.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  qv::win32::Win32Board board;
  return qv::loader::RunWin32Loader(board);
}
