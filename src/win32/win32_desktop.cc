// The loader's own windows and its message boxes.
#include "win32/win32_desktop.h"

#include <string>

#include "win32/own_window.h"

namespace qv::win32 {

using platform::WindowHandle;

namespace {

HINSTANCE ProgramInstance() {
  return ::GetModuleHandleA(nullptr);
}

bool OwnedByUs(HWND window) {
  DWORD process = 0;
  return ::IsWindow(window) && ::GetWindowThreadProcessId(window, &process) != 0 &&
         process == ::GetCurrentProcessId();
}

}  // namespace

Win32Desktop::Win32Desktop() {
  WNDCLASSA frame{};
  frame.style = CS_HREDRAW | CS_VREDRAW;
  frame.lpfnWndProc = MainWindowProcedure;
  frame.hInstance = ProgramInstance();
  frame.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  frame.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  frame.lpszClassName = kMainWindowClass;
  ::RegisterClassA(&frame);
}

Win32Desktop::~Win32Desktop() {
  // Windows still open go first: their procedures use the table.
  while (!own_windows_.empty()) {
    const std::uint32_t window = own_windows_.begin()->first;
    if (!::DestroyWindow(ToHwnd({window}))) own_windows_.erase(window);
  }
  ::UnregisterClassA(kMainWindowClass, ProgramInstance());
}

WindowHandle Win32Desktop::CreateMainWindow(const platform::MainWindowOptions& options) {
  auto own = std::make_unique<OwnWindow>(
      OwnWindow{own_windows_, false, options.background, options.on_user_message, {}});
  DWORD style = WS_OVERLAPPEDWINDOW;
  if (options.initial_state == platform::WindowState::kMinimized) style |= WS_MINIMIZE;
  if (options.initial_state == platform::WindowState::kMaximized) style |= WS_MAXIMIZE;
  const HWND window = ::CreateWindowExA(0, kMainWindowClass, options.title.c_str(), style,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, nullptr, ProgramInstance(), own.get());
  if (window == nullptr) return {};
  own_windows_[FromHwnd(window).value] = std::move(own);
  return FromHwnd(window);
}

WindowHandle Win32Desktop::CreateModelessDialog(int template_id,
                                                platform::DialogHandlers handlers) {
  auto own =
      std::make_unique<OwnWindow>(OwnWindow{own_windows_, true, {}, {}, std::move(handlers)});
  OwnWindow* kept = own.get();
  // The procedure needs the table entry while the dialog is made, before its
  // handle is known: it is kept under the value 0 until then.
  own_windows_[0] = std::move(own);
  const HWND dialog =
      ::CreateDialogParamA(ProgramInstance(), MAKEINTRESOURCEA(template_id), nullptr,
                           DialogProcedure, reinterpret_cast<LPARAM>(kept));
  std::unique_ptr<OwnWindow> made = std::move(own_windows_[0]);
  own_windows_.erase(0);
  // Its initialisation may have destroyed it again.
  if (dialog == nullptr || !::IsWindow(dialog)) return {};
  own_windows_[FromHwnd(dialog).value] = std::move(made);
  return FromHwnd(dialog);
}

bool Win32Desktop::ShowWindow(WindowHandle window, platform::ShowCommand command) {
  return ::ShowWindow(ToHwnd(window), static_cast<int>(command)) != 0;
}

void Win32Desktop::UpdateWindow(WindowHandle window) {
  ::UpdateWindow(ToHwnd(window));
}

bool Win32Desktop::DestroyWindow(WindowHandle window) {
  const HWND handle = ToHwnd(window);
  return OwnedByUs(handle) && ::DestroyWindow(handle) != 0;
}

bool Win32Desktop::SetWindowTitle(WindowHandle window, std::string_view title) {
  return ::SetWindowTextA(ToHwnd(window), std::string(title).c_str()) != 0;
}

bool Win32Desktop::SetDialogItemText(WindowHandle dialog, int control_id, std::string_view text) {
  return ::SetDlgItemTextA(ToHwnd(dialog), control_id, std::string(text).c_str()) != 0;
}

void Win32Desktop::UpdateDialogControls(WindowHandle dialog) {
  const auto own = own_windows_.find(dialog.value);
  if (own != own_windows_.end()) ExchangeIntoControls(ToHwnd(dialog), *own->second);
}

void Win32Desktop::DrawClientText(WindowHandle window, int x, int y, std::string_view text) {
  const HWND handle = ToHwnd(window);
  const HDC context = ::GetDC(handle);
  if (context == nullptr) return;
  ::TextOutA(context, x, y, text.data(), static_cast<int>(text.size()));
  ::ReleaseDC(handle, context);
}

platform::BoxAnswer Win32Desktop::ShowMessageBox(platform::BoxKind kind, std::string_view text) {
  const std::string shown(text);
  if (kind == platform::BoxKind::kWarning) {
    // No owner and no caption: the system gives its default caption.
    ::MessageBoxA(nullptr, shown.c_str(), nullptr, MB_OK | MB_ICONWARNING);
    return platform::BoxAnswer::kOk;
  }
  // The framework's boxes: the application's name, its exclamation icon.
  const UINT buttons = kind == platform::BoxKind::kYesNo ? MB_YESNO : MB_OK;
  const int answer = ::MessageBoxA(nullptr, shown.c_str(), application_name_.c_str(),
                                   buttons | MB_ICONEXCLAMATION);
  if (kind == platform::BoxKind::kYesNo) {
    return answer == IDYES ? platform::BoxAnswer::kYes : platform::BoxAnswer::kNo;
  }
  return platform::BoxAnswer::kOk;
}

}  // namespace qv::win32
