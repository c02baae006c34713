// qv731Ldr.exe as the tests under Wine run it: the product's loader with the
// stand-in board in place of the acquisition driver and the test set-up
// answering its reboot requests.
#include <windows.h>

#include "loader/loader.h"
#include "tests/wine/stand_in_board.h"
#include "tests/wine/stand_in_restart.h"
#include "win32/win32_ports.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  qv::win32::Win32Ports ports;
  qv::wine_test::StandInBoard board;
  qv::wine_test::StandInRestart system(ports.With(board));
  return qv::loader::RunLoader(system.platform());
}
