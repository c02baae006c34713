// board_port_check.exe: what the Board port does on a system that is not
// the instrument (no acquisition driver, no board, port I/O forbidden): one
// line per step on stdout, and never a crash.
#include <cstdio>

#include "win32/win32_board.h"
#include "win32/win32_system.h"

int main() {
  qv::win32::Win32Board board;
  qv::win32::Win32System system;
  const qv::platform::DeviceReply reply = board.RequestDevice("\\\\.\\QVACQ.VXD", 0x222000, 16);
  std::printf("request: opened %d, succeeded %d, error %u\n", reply.opened, reply.succeeded,
              qv::platform::ToCode(system.LastError()));
  const std::optional<std::uint8_t> memory = board.ReadMemory(0x10);
  std::printf("memory at 0x10: %s\n", memory ? "read" : "nothing");
  const unsigned value = board.ReadPort(0x3c5);
  std::printf("port 0x3c5: 0x%02X, error %u\n", value, qv::platform::ToCode(system.LastError()));
  board.WritePort(0x3c4, 0x07);
  std::printf("port 0x3c4 written: error %u\n", qv::platform::ToCode(system.LastError()));
  return 0;
}
