#include "tests/wine/stand_in_board.h"

#include "instrument/identification.h"

namespace qv::wine_test {
namespace {

constexpr std::uint32_t kBoardAddress = 0xD0000000;
constexpr std::uint32_t kBoardWindowBytes = 0x1000000;
constexpr std::uint8_t kModelCode = 1;
constexpr std::uint16_t kIndexPort = 0x3D6;
constexpr std::uint16_t kDataPort = 0x3D7;

}  // namespace

platform::DeviceReply StandInBoard::RequestDevice(std::string_view device,
                                                  std::uint32_t control_code,
                                                  std::size_t output_capacity) {
  platform::DeviceReply reply;
  reply.opened = device == instrument::kDriverDevice;
  if (!reply.opened || control_code != instrument::kDriverControlCode ||
      output_capacity < instrument::kDriverAnswerBytes) {
    return reply;
  }
  reply.output.assign(instrument::kDriverAnswerBytes, 0);
  for (std::size_t i = 0; i < 4; ++i)
    reply.output[i] = static_cast<std::uint8_t>(kBoardAddress >> (8 * i));
  reply.succeeded = true;
  return reply;
}

std::optional<std::uint8_t> StandInBoard::ReadMemory(std::uint32_t address) {
  const std::uint32_t offset = address - kBoardAddress;
  if (offset >= kBoardWindowBytes) return std::nullopt;
  return offset == instrument::kModelRegisterOffset ? kModelCode : std::uint8_t{0};
}

std::uint8_t StandInBoard::ReadPort(std::uint16_t port) {
  if (port == kIndexPort) return index_;
  if (port == kDataPort) return extension_[index_];
  return 0xFF;
}

void StandInBoard::WritePort(std::uint16_t port, std::uint8_t value) {
  if (port == kIndexPort) index_ = value;
  if (port == kDataPort) extension_[index_] = value;
}

}  // namespace qv::wine_test
