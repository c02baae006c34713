// The window procedures of the loader's own windows and what they keep per
// window: the main window's background and private-message handler, a
// dialog's handlers. The desktop owns each OwnWindow; the window's
// destruction removes it from the desktop's table.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/desktop_types.h"
#include "win32/windows_api.h"

namespace qv::win32 {

struct OwnWindow;
using OwnWindowTable = std::map<std::uint32_t, std::unique_ptr<OwnWindow>>;

struct OwnWindow {
  OwnWindowTable& table;
  bool is_dialog = false;
  platform::Rgb background;
  platform::UserMessageHandler on_user_message;
  platform::DialogHandlers handlers;
};

inline HWND ToHwnd(platform::WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window.value));
}

inline platform::WindowHandle FromHwnd(HWND window) {
  return {static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window))};
}

// The main window's procedure; its creation parameter is its OwnWindow.
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// A dialog's procedure; the dialog's creation parameter is its OwnWindow.
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Sets every control that the dialog's exchange names.
void ExchangeIntoControls(HWND dialog, const OwnWindow& own);

}  // namespace qv::win32
