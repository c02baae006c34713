// The Board port of the simulated instrument: the acquisition driver
// answers (or not) as machine.json says, the board's memory window holds the
// model register, and the display controller's extension registers sit
// behind the index port 0x3D6 and the data port 0x3D7.
#pragma once

#include <array>
#include <memory>

#include "platform/board.h"
#include "sim/journal.h"
#include "sim/machine_config.h"
#include "sim/thread_state.h"

namespace qv::sim {

inline constexpr std::string_view kDriverDevice = "\\\\.\\qv731xx.vxd";
inline constexpr std::uint32_t kDriverControlCode = 3;
inline constexpr std::uint32_t kModelRegisterOffset = 0xA18000;
inline constexpr std::uint32_t kBoardWindowBytes = 0x1000000;
inline constexpr std::uint16_t kIndexPort = 0x3D6;
inline constexpr std::uint16_t kDataPort = 0x3D7;
inline constexpr std::uint8_t kVideoRegister = 0x63;
inline constexpr std::uint8_t kVideoBit = 0x02;

class SimBoard : public platform::Board {
 public:
  SimBoard(const MachineConfig& config, Journal& journal, std::shared_ptr<ThreadState> thread);

  // The extension register the index port selects, as it now holds.
  std::uint8_t ExtensionRegister(std::uint8_t index) const { return extension_[index]; }

  platform::DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                                      std::size_t output_capacity) override;
  std::optional<std::uint8_t> ReadMemory(std::uint32_t address) override;
  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;
  bool LaunchPrinterWizard() override;

 private:
  BoardConfig board_;
  bool printer_wizard_starts_;
  Journal& journal_;
  std::shared_ptr<ThreadState> thread_;
  std::uint8_t index_ = 0;
  std::array<std::uint8_t, 256> extension_{};
};

}  // namespace qv::sim
