// The Board port on the system itself: the acquisition driver through
// CreateFileA and DeviceIoControl, the board's memory window and the display
// controller's I/O ports where the system lets a program reach them, and the
// shell's start of the Printers folder's first item.
#pragma once

#include "platform/board.h"

namespace qv::win32 {

class Win32Board : public platform::Board {
 public:
  platform::DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                                      std::size_t output_capacity) override;
  std::optional<std::uint8_t> ReadMemory(std::uint32_t address) override;
  // Windows NT forbids port I/O to programs: there a read gives 0xFF (what
  // an unanswered bus gives), a write does nothing, and both leave
  // ERROR_PRIVILEGE_NOT_HELD as the last error instead of ending the process.
  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;
  bool LaunchPrinterWizard() override;
};

}  // namespace qv::win32
