// The Desktop port: what the loader asks of the window system. The main
// window with its status lines, modeless dialogs built from the resource
// templates, message boxes, the top-level window list of all programs with
// close requests and z-order placement, the message pump, and the display's
// colour depth. Calls mirror the system's own (named in each comment) so that
// a native implementation is a thin mapping; names avoid the system headers'
// A/W macros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/desktop_types.h"
#include "platform/window_handle.h"

namespace qv::platform {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // --- Windows of the loader ---

  // Creates the main (frame) window, not yet visible (CreateWindowEx with the
  // framework's frame-window class). Its erase fills the client area with
  // options.background; it has no paint handler of its own, so whatever was
  // drawn is lost on the next repaint.
  virtual WindowHandle CreateMainWindow(const MainWindowOptions& options) = 0;

  // Creates a modeless dialog from a resource template, without parent
  // (CreateDialogIndirect). The standard initialisation makes one data
  // exchange, then handlers.on_init runs; a template with the visible style
  // then shows itself. Returns no window for an unknown template.
  virtual WindowHandle CreateModelessDialog(int template_id, DialogHandlers handlers) = 0;

  // ShowWindow: returns whether the window was visible before.
  virtual bool ShowWindow(WindowHandle window, ShowCommand command) = 0;

  // UpdateWindow: repaints at once whatever is pending.
  virtual void UpdateWindow(WindowHandle window) = 0;

  // DestroyWindow; false for no window or another program's window.
  virtual bool DestroyWindow(WindowHandle window) = 0;

  // SetWindowTextA: the caption of a window.
  virtual bool SetWindowTitle(WindowHandle window, std::string_view title) = 0;

  // SetDlgItemTextA: the text of one control of a dialog.
  virtual bool SetDialogItemText(WindowHandle dialog, int control_id, std::string_view text) = 0;

  // Data exchange from the dialog's members to its controls
  // (UpdateData(FALSE)): sets every control that handlers.exchange names.
  virtual void UpdateDialogControls(WindowHandle dialog) = 0;

  // TextOutA on a client-area device context with its default attributes:
  // the system font, black text on an opaque white background, top-left
  // corner at client pixel (x, y). Bytes are drawn as they are.
  virtual void DrawClientText(WindowHandle window, int x, int y, std::string_view text) = 0;

  // --- Message boxes (modal; return when the user has answered) ---

  // The application's name (the framework's, from the program's file name),
  // with which the framework captions its boxes (kOk, kYesNo, kError).
  virtual void SetApplicationName(std::string_view name) = 0;
  virtual BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) = 0;

  // --- All top-level windows ---

  // EnumWindows: calls back for every top-level window, hidden ones
  // included, from the top of the z-order down, over the windows that
  // existed when it began. Stops when the callback returns false; returns
  // false then.
  virtual bool EnumerateWindows(const std::function<bool(WindowHandle)>& callback) = 0;

  // GetWindowTextA / GetClassNameA into a buffer of buffer_size bytes: at
  // most buffer_size - 1 bytes, empty for no window.
  virtual std::string WindowTitle(WindowHandle window, std::size_t buffer_size) = 0;
  virtual std::string WindowClassName(WindowHandle window, std::size_t buffer_size) = 0;

  // GetWindowThreadProcessId: the owning process, 0 for no window.
  virtual std::uint32_t WindowProcessId(WindowHandle window) = 0;

  // SendMessageA: delivers a message and waits until it has been handled.
  // kWmClose asks a window to close; messages from kWmUser on go to the main
  // window's user-message handler.
  virtual std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message,
                                          std::uintptr_t wparam, std::intptr_t lparam) = 0;

  // GetDesktopWindow.
  virtual WindowHandle DesktopWindow() = 0;
  // GetTopWindow: the top child in z-order; for the desktop window, the
  // topmost top-level window.
  virtual WindowHandle TopChildWindow(WindowHandle parent) = 0;
  // GetWindow with GW_HWNDNEXT: the next window below in z-order.
  virtual WindowHandle NextWindow(WindowHandle window) = 0;
  // SetWindowPos with HWND_BOTTOM, SWP_NOMOVE | SWP_NOSIZE.
  virtual bool PlaceAtBottom(WindowHandle window) = 0;

  // --- Message pump of the loader's thread ---

  // PeekMessageA with PM_NOREMOVE: whether a message waits.
  virtual bool MessageWaiting() = 0;
  // Fetches one message, waiting for one if none is there, and dispatches
  // it. Returns false when the message was the quit message.
  virtual bool PumpMessage() = 0;

  // --- Display ---

  // GetDeviceCaps(NUMCOLORS) on the screen's device context: the number of
  // colours, -1 above 256.
  virtual int NumColors() = 0;
  // ChangeDisplaySettingsA with only the bits per pixel given; with
  // update_registry the mode is also stored for later starts. Returns the
  // system's result (kDisplayChange...).
  virtual int ChangeDisplayBits(int bits_per_pixel, bool update_registry) = 0;
};

}  // namespace qv::platform
