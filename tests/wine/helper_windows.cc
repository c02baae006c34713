#include "tests/wine/helper_windows.h"

#include <imm.h>

#include <cstdio>
#include <set>

#include "tests/wine/helper_text.h"

namespace qv::wine_test {
namespace {

std::string ClassOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TitleOf(HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

LRESULT CALLBACK OtherWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    std::printf("close %s (%s) -> closed\n", Shown(TitleOf(window)).c_str(),
                ClassOf(window).c_str());
    std::fflush(stdout);
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

BOOL CALLBACK PrintIfOther(HWND window, LPARAM) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId()) {
    std::printf("present %s (%s)%s\n", Shown(TitleOf(window)).c_str(), ClassOf(window).c_str(),
                ::IsWindowVisible(window) ? "" : " hidden");
  }
  return TRUE;
}

}  // namespace

bool ParseOtherWindow(const std::string& text, OtherWindow& window) {
  const std::size_t kind_end = text.find(':');
  if (kind_end == std::string::npos) return false;
  const std::string kind = text.substr(0, kind_end);
  const std::size_t class_end = text.find(':', kind_end + 1);
  if ((kind != "window" && kind != "hidden") || class_end == std::string::npos) return false;
  window = {text.substr(kind_end + 1, class_end - kind_end - 1), text.substr(class_end + 1),
            kind == "window"};
  return true;
}

void OpenOtherWindows(const std::vector<OtherWindow>& windows) {
  // Else the helper's thread gets an input-method window ("Default IME"),
  // which the loader's scan would ask about as another program.
  ::ImmDisableIME(static_cast<DWORD>(-1));
  std::set<std::string> registered;
  // The last opened is on top: the first goes last.
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (registered.insert(it->class_name).second) {
      WNDCLASSA window_class{};
      window_class.lpfnWndProc = OtherWindowProcedure;
      window_class.hInstance = ::GetModuleHandleA(nullptr);
      window_class.lpszClassName = it->class_name.c_str();
      ::RegisterClassA(&window_class);
    }
    HWND window =
        ::CreateWindowExA(0, it->class_name.c_str(), it->title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                          200, 100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (it->visible) ::ShowWindow(window, SW_SHOWNORMAL);
  }
}

void PrintPresentWindows() {
  ::EnumWindows(PrintIfOther, 0);
  std::fflush(stdout);
}

}  // namespace qv::wine_test
