// The Board port: the acquisition board's kernel driver, the board's memory
// window, the display controller's I/O ports, and the shell's printer wizard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qv::platform {

// The outcome of opening a device and sending it one control request.
struct DeviceReply {
  bool opened = false;               // CreateFileA on the device succeeded
  bool succeeded = false;            // DeviceIoControl returned success
  std::vector<std::uint8_t> output;  // the bytes returned (their count is the length)
};

class Board {
 public:
  virtual ~Board() = default;

  // Opens the device (CreateFileA with FILE_FLAG_DELETE_ON_CLOSE, which loads
  // a dynamic driver of that name), sends DeviceIoControl with the control
  // code, no input and an output buffer of output_capacity bytes, and closes
  // it. A failure leaves its code as the last error.
  virtual DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                                    std::size_t output_capacity) = 0;
  // The byte at a linear address of the board's memory window; nullopt where
  // nothing is mapped (an access violation on the instrument).
  virtual std::optional<std::uint8_t> ReadMemory(std::uint32_t address) = 0;
  // Direct I/O port access (in / out).
  virtual std::uint8_t ReadPort(std::uint16_t port) = 0;
  virtual void WritePort(std::uint16_t port, std::uint8_t value) = 0;
  // Starts the first item of the shell's Printers folder (the Add Printer
  // wizard); true when the shell started it.
  virtual bool LaunchPrinterWizard() = 0;
};

}  // namespace qv::platform
