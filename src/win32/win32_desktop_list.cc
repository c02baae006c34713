// The window list of all programs, z-order, the message pump and the
// display.
#include <vector>

#include "win32/own_window.h"
#include "win32/win32_desktop.h"

namespace qv::win32 {

using platform::WindowHandle;

namespace {

BOOL CALLBACK EachWindow(HWND window, LPARAM callback) {
  return (*reinterpret_cast<const std::function<bool(WindowHandle)>*>(callback))(FromHwnd(window))
             ? TRUE
             : FALSE;
}

using TextGetter = int(WINAPI*)(HWND, LPSTR, int);

std::string WindowString(TextGetter get, HWND window, std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  std::vector<char> buffer(buffer_size, '\0');
  const int length = get(window, buffer.data(), static_cast<int>(buffer_size));
  return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

bool Win32Desktop::EnumerateWindows(const std::function<bool(WindowHandle)>& callback) {
  return ::EnumWindows(EachWindow, reinterpret_cast<LPARAM>(&callback)) != 0;
}

std::string Win32Desktop::WindowTitle(WindowHandle window, std::size_t buffer_size) {
  return WindowString(::GetWindowTextA, ToHwnd(window), buffer_size);
}

std::string Win32Desktop::WindowClassName(WindowHandle window, std::size_t buffer_size) {
  return WindowString(::GetClassNameA, ToHwnd(window), buffer_size);
}

std::uint32_t Win32Desktop::WindowProcessId(WindowHandle window) {
  DWORD process = 0;
  if (::GetWindowThreadProcessId(ToHwnd(window), &process) == 0) return 0;
  return process;
}

std::intptr_t Win32Desktop::SendWindowMessage(WindowHandle window, std::uint32_t message,
                                              std::uintptr_t wparam, std::intptr_t lparam) {
  return ::SendMessageA(ToHwnd(window), message, wparam, lparam);
}

WindowHandle Win32Desktop::DesktopWindow() {
  return FromHwnd(::GetDesktopWindow());
}

WindowHandle Win32Desktop::TopChildWindow(WindowHandle parent) {
  return FromHwnd(::GetTopWindow(ToHwnd(parent)));
}

WindowHandle Win32Desktop::NextWindow(WindowHandle window) {
  return FromHwnd(::GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

bool Win32Desktop::PlaceAtBottom(WindowHandle window) {
  return ::SetWindowPos(ToHwnd(window), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != 0;
}

bool Win32Desktop::MessageWaiting() {
  MSG message{};
  return ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) != 0;
}

bool Win32Desktop::PumpMessage() {
  MSG message{};
  // A failing GetMessageA (-1) is taken as the end, not as a message.
  if (::GetMessageA(&message, nullptr, 0, 0) <= 0) return false;
  // Keyboard navigation inside our modeless dialogs, as the framework gives
  // it. The handles are taken first: a press may destroy a dialog.
  std::vector<HWND> dialogs;
  for (const auto& [window, own] : own_windows_) {
    if (own->is_dialog) dialogs.push_back(ToHwnd({window}));
  }
  for (const HWND dialog : dialogs) {
    if (::IsDialogMessageA(dialog, &message)) return true;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
  return true;
}

int Win32Desktop::NumColors() {
  const HDC screen = ::GetDC(nullptr);
  const int colours = ::GetDeviceCaps(screen, NUMCOLORS);
  ::ReleaseDC(nullptr, screen);
  return colours;
}

int Win32Desktop::ChangeDisplayBits(int bits_per_pixel, bool update_registry) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmBitsPerPel = static_cast<DWORD>(bits_per_pixel);
  mode.dmFields = DM_BITSPERPEL;
  return ::ChangeDisplaySettingsA(&mode, update_registry ? CDS_UPDATEREGISTRY : 0);
}

}  // namespace qv::win32
