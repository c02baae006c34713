// desktop_port_check.exe: the Desktop port's walk on Windows itself, one
// line per step on stdout, then the controls of each dialog it made as the
// system built them from the program's resources.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/wine/desktop_port_checks.h"
#include "win32/own_window.h"
#include "win32/win32_desktop.h"

namespace {

std::string WindowText(HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

// "control ID CLASS STYLE "TEXT" LEFT TOP WIDTH HEIGHT" for each control, in
// pixels of the dialog's client area, after the dialog's base units.
void ListControls(HWND dialog, std::vector<std::string>& lines) {
  RECT units{0, 0, 4, 8};
  ::MapDialogRect(dialog, &units);
  char line[512];
  std::snprintf(line, sizeof line, "dialog \"%s\" base units %ld %ld", WindowText(dialog).c_str(),
                units.right, units.bottom);
  lines.push_back(line);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    char class_name[64] = {};
    ::GetClassNameA(child, class_name, sizeof class_name);
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const std::string text = std::string(class_name) == "Button" ? WindowText(child) : "";
    std::snprintf(line, sizeof line, "control %d %s 0x%08lX \"%s\" %ld %ld %ld %ld",
                  static_cast<int>(static_cast<short>(::GetDlgCtrlID(child))), class_name,
                  static_cast<unsigned long>(::GetWindowLongA(child, GWL_STYLE)), text.c_str(),
                  place.left, place.top, place.right - place.left, place.bottom - place.top);
    lines.push_back(line);
  }
}

}  // namespace

int main() {
  qv::win32::Win32Desktop desktop;
  std::vector<std::string> controls;
  const std::vector<std::string> walk = qv::wine_test::DesktopPortChecks(
      desktop, ::GetCurrentProcessId(), [&](qv::platform::WindowHandle dialog) {
        ListControls(qv::win32::ToHwnd(dialog), controls);
      });
  for (const std::string& line : walk)
    std::printf("%s\n", line.c_str());
  for (const std::string& line : controls)
    std::printf("%s\n", line.c_str());
  return 0;
}
