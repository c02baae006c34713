// The acquisition board as the simulated instrument's default machine has
// it, for the loader that the tests run under Wine (which has no board): the
// driver answers with the board's address, the model register holds model 1,
// the display controller's extension registers keep what is written, and the
// printer wizard starts.
#pragma once

#include <array>

#include "platform/board.h"

namespace qv::wine_test {

class StandInBoard : public platform::Board {
 public:
  platform::DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                                      std::size_t output_capacity) override;
  std::optional<std::uint8_t> ReadMemory(std::uint32_t address) override;
  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;
  bool LaunchPrinterWizard() override { return true; }

 private:
  std::uint8_t index_ = 0;
  std::array<std::uint8_t, 256> extension_{};
};

}  // namespace qv::wine_test
