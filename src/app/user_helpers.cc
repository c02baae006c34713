#include "app/user_helpers.h"

namespace qv::app {
namespace {

constexpr std::uint16_t kIndexPort = 0x3D6;
constexpr std::uint16_t kDataPort = 0x3D7;
constexpr std::uint8_t kExtensionRegister = 0x63;
constexpr std::uint8_t kVideoBit = 0x02;

}  // namespace

void UserHelpers::DrawStatusLine(int x, int y, std::string_view text) {
  platform_.desktop.DrawClientText(main_window_.handle(), x, y, text);
}

void UserHelpers::SystemErrorBox() {
  // A code the system has no text for gives an empty box rather than none.
  const std::string text =
      platform_.system.ErrorText(platform_.system.LastError()).value_or(std::string());
  platform_.desktop.ShowMessageBox(platform::BoxKind::kError, text);
}

void UserHelpers::OkBox(std::string_view text) {
  platform_.desktop.ShowMessageBox(platform::BoxKind::kOk, text);
}

bool UserHelpers::AskYesNo(std::string_view text) {
  return platform_.desktop.ShowMessageBox(platform::BoxKind::kYesNo, text) ==
         platform::BoxAnswer::kYes;
}

void UserHelpers::WarningBox(std::string_view text) {
  platform_.desktop.ShowMessageBox(platform::BoxKind::kWarning, text);
}

bool UserHelpers::RequestReboot() {
  return platform_.system.RequestReboot();
}

void UserHelpers::SetVideoBit(bool on) {
  platform::Board& board = platform_.board;
  const std::uint8_t index = board.ReadPort(kIndexPort);
  board.WritePort(kIndexPort, kExtensionRegister);
  const std::uint8_t value = board.ReadPort(kDataPort);
  board.WritePort(kDataPort,
                  static_cast<std::uint8_t>(on ? value | kVideoBit : value & ~kVideoBit));
  board.WritePort(kIndexPort, index);
}

}  // namespace qv::app
