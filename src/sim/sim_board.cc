#include "sim/sim_board.h"

#include "platform/code_page.h"

namespace qv::sim {

using platform::WinError;

SimBoard::SimBoard(const MachineConfig& config, Journal& journal,
                   std::shared_ptr<ThreadState> thread)
    : board_(config.board),
      printer_wizard_starts_(config.printer_wizard_starts),
      journal_(journal),
      thread_(std::move(thread)) {}

platform::DeviceReply SimBoard::RequestDevice(std::string_view device, std::uint32_t control_code,
                                              std::size_t output_capacity) {
  platform::DeviceReply reply;
  if (board_.driver == DriverBehaviour::kMissing ||
      !platform::SameName(platform::CodePage::kWestern, device, kDriverDevice)) {
    thread_->last_error = WinError::kFileNotFound;
    return reply;
  }
  reply.opened = true;
  if (board_.driver == DriverBehaviour::kRefuses || control_code != kDriverControlCode) {
    thread_->last_error = WinError::kInvalidFunction;
    return reply;
  }
  const auto length = static_cast<std::size_t>(board_.answer_length);
  if (length > output_capacity) {
    thread_->last_error = WinError::kInsufficientBuffer;
    return reply;
  }
  reply.output.assign(length, 0);
  for (std::size_t i = 0; i < std::min<std::size_t>(length, 4); ++i) {
    reply.output[i] = static_cast<std::uint8_t>(board_.address >> (8 * i));
  }
  reply.succeeded = true;
  return reply;
}

std::optional<std::uint8_t> SimBoard::ReadMemory(std::uint32_t address) {
  // The window is mapped while the driver is loaded and answering.
  if (board_.driver != DriverBehaviour::kAnswers) return std::nullopt;
  const std::uint32_t offset = address - board_.address;
  if (offset >= kBoardWindowBytes) return std::nullopt;
  return offset == kModelRegisterOffset ? board_.model_register : std::uint8_t{0};
}

std::uint8_t SimBoard::ReadPort(std::uint16_t port) {
  if (port == kIndexPort) return index_;
  if (port == kDataPort) return extension_[index_];
  return 0xFF;  // nothing answers on other ports
}

void SimBoard::WritePort(std::uint16_t port, std::uint8_t value) {
  if (port == kIndexPort) {
    index_ = value;
  } else if (port == kDataPort) {
    extension_[index_] = value;
    if (index_ == kVideoRegister) journal_.Record("video_bit", {{"on", (value & kVideoBit) != 0}});
  }
}

bool SimBoard::LaunchPrinterWizard() {
  journal_.Record("printer_wizard", {{"started", printer_wizard_starts_}});
  if (!printer_wizard_starts_) thread_->last_error = WinError::kFileNotFound;
  return printer_wizard_starts_;
}

}  // namespace qv::sim
