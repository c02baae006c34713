// The helpers by which every step of the loader talks to the user and the
// machine: status lines on the main window, the framework's message boxes
// (OK, Yes/No, and the box with the system's text for the last error), the
// captionless warning box, the reboot request, and the display controller's
// video extension bit.
#pragma once

#include <string_view>

#include "app/main_window.h"
#include "platform/platform.h"

namespace qv::app {

class UserHelpers {
 public:
  // The main window must outlive the helpers.
  UserHelpers(platform::Platform platform, const MainWindow& main_window)
      : platform_(platform), main_window_(main_window) {}

  // Draws the text once at client pixel (x, y) of the main window, black on
  // white; nothing keeps it.
  void DrawStatusLine(int x, int y, std::string_view text);
  // The system's text for the thread's last error in the framework's OK box.
  void SystemErrorBox();
  // The framework's OK box.
  void OkBox(std::string_view text);
  // The framework's Yes/No box: true for Yes.
  bool AskYesNo(std::string_view text);
  // The warning box without owner or caption.
  void WarningBox(std::string_view text);
  // Asks the system to restart (it does so later); true when accepted.
  bool RequestReboot();
  // Sets or clears bit 1 of the display controller's extension register
  // 0x63, leaving the index port as it was.
  void SetVideoBit(bool on);

 private:
  platform::Platform platform_;
  const MainWindow& main_window_;
};

}  // namespace qv::app
