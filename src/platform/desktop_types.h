// Small value types of the Desktop port: show commands and states, message
// box kinds and answers, window messages, display-change results, and what a
// caller hands over when it creates the main window or a modeless dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_handle.h"

namespace qv::platform {

// ShowWindow commands, with the system's values.
enum class ShowCommand : int {
  kHide = 0,
  kShowNormal = 1,
  kShowMinimized = 2,
  kShowMaximized = 3,
  kShowNoActivate = 4,
  kShow = 5,
  kMinimize = 6,
  kShowMinNoActive = 7,
  kShowNa = 8,
  kRestore = 9,
};

enum class WindowState { kNormal, kMinimized, kMaximized };

// The two dialog templates of the loader's resources.
inline constexpr int kStatusBoxTemplate = 130;
inline constexpr int kChoiceDialogTemplate = 150;

// The message boxes the loader shows. kOk, kYesNo and kError are the
// framework's boxes (captioned with the application's name, exclamation
// icon); kError is the OK box that carries the system's text for the last
// error. kWarning is a box without owner or caption (the system's default
// caption) with the warning icon and an OK button.
enum class BoxKind { kOk, kYesNo, kWarning, kError };

// Button identifiers with the system's values.
enum class BoxAnswer : int { kOk = 1, kYes = 6, kNo = 7 };

// Window messages with the system's values.
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmUser = 0x0400;

// Results of a display-mode change, with the system's values.
inline constexpr int kDisplayChangeSuccessful = 0;
inline constexpr int kDisplayChangeRestart = 1;
inline constexpr int kDisplayChangeFailed = -1;
inline constexpr int kDisplayChangeBadMode = -2;

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

// Handles private messages (kWmUser and above) sent to the main window.
using UserMessageHandler = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wparam,
                                                       std::intptr_t lparam)>;

struct MainWindowOptions {
  std::string title;
  // The state the window is created in; it is not visible until shown.
  WindowState initial_state = WindowState::kMinimized;
  // The colour every erase of the client area fills it with.
  Rgb background;
  UserMessageHandler on_user_message;
};

// One text member of a dialog and the control it is bound to.
struct ControlText {
  int control_id = 0;
  std::string text;
};

// What a dialog class adds to the standard dialog. All may be empty.
struct DialogHandlers {
  // The dialog's text members with their controls, read by every data
  // exchange from members to controls.
  std::function<std::vector<ControlText>()> exchange;
  // Runs after the standard initialisation (which has made one exchange)
  // and before the dialog shows itself.
  std::function<void(WindowHandle dialog)> on_init;
  // A push button was pressed; delivered by the message pump.
  std::function<void(WindowHandle dialog, int control_id)> on_command;
};

}  // namespace qv::platform
