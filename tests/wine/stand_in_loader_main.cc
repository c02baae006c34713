// qv731Ldr.exe as the tests under Wine run it: the product's loader with the
// stand-in board in place of the acquisition driver.
#include <windows.h>

#include "loader/win32_loader.h"
#include "tests/wine/stand_in_board.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  qv::wine_test::StandInBoard board;
  return qv::loader::RunWin32Loader(board);
}
