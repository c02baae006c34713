#include "win32/own_window.h"

namespace qv::win32 {
namespace {

OwnWindow* MainWindowOf(HWND window) {
  return reinterpret_cast<OwnWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

OwnWindow* DialogOf(HWND dialog) {
  return reinterpret_cast<OwnWindow*>(::GetWindowLongPtrA(dialog, DWLP_USER));
}

void FillWithBackground(HWND window, HDC context, platform::Rgb colour) {
  RECT client{};
  ::GetClientRect(window, &client);
  const HBRUSH brush = ::CreateSolidBrush(RGB(colour.r, colour.g, colour.b));
  ::FillRect(context, &client, brush);
  ::DeleteObject(brush);
}

// The window is gone: its OwnWindow goes with it. Nothing of it may be used
// afterwards, which is why handlers are copied before they run.
void Forget(HWND window, OwnWindow* own) {
  if (own != nullptr) own->table.erase(FromHwnd(window).value);
}

}  // namespace

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  OwnWindow* own = MainWindowOf(window);
  if (own == nullptr) return ::DefWindowProcA(window, message, wparam, lparam);
  switch (message) {
    case WM_ERASEBKGND:
      FillWithBackground(window, reinterpret_cast<HDC>(wparam), own->background);
      return 1;
    case WM_DESTROY:
      // The loader's message loop ends when its main window goes.
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      Forget(window, own);
      return ::DefWindowProcA(window, message, wparam, lparam);
    default:
      break;
  }
  if (message >= WM_USER && message < 0x8000 && own->on_user_message) {
    const platform::UserMessageHandler handler = own->on_user_message;
    return handler(message, wparam, lparam);
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

void ExchangeIntoControls(HWND dialog, const OwnWindow& own) {
  if (!own.handlers.exchange) return;
  const auto exchange = own.handlers.exchange;
  for (const platform::ControlText& member : exchange()) {
    ::SetDlgItemTextA(dialog, member.control_id, member.text.c_str());
  }
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* own = reinterpret_cast<OwnWindow*>(lparam);
    ::SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    // The standard initialisation's one exchange, then the dialog's own.
    ExchangeIntoControls(dialog, *own);
    if (const auto on_init = own->handlers.on_init) on_init(FromHwnd(dialog));
    return TRUE;
  }
  OwnWindow* own = DialogOf(dialog);
  if (own == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && own->handlers.on_command) {
        const auto on_command = own->handlers.on_command;
        on_command(FromHwnd(dialog), LOWORD(wparam));
      }
      return TRUE;
    case WM_CLOSE:
      ::DestroyWindow(dialog);
      return TRUE;
    case WM_NCDESTROY:
      Forget(dialog, own);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv::win32
