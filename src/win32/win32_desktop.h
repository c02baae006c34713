// The Desktop port on the system itself (USER32 and GDI32): the main window
// of a class of our own, modeless dialogs from the program's dialog
// resources (dialogs.rc, generated from resources/dialog_*.json), message
// boxes, the window list, z-order, the message pump and the display.
//
// A window handle crosses the port as its 32-bit value: the system's window
// handles fit in 32 bits on 64-bit Windows too, which is what lets 32-bit and
// 64-bit programs share them.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/desktop.h"

namespace qv::win32 {

// What the window procedures need of one of our windows; defined with them.
struct OwnWindow;

class Win32Desktop final : public platform::Desktop {
 public:
  // Registers the main window's class for the program's instance.
  Win32Desktop();
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  platform::WindowHandle CreateMainWindow(const platform::MainWindowOptions& options) override;
  platform::WindowHandle CreateModelessDialog(int template_id,
                                              platform::DialogHandlers handlers) override;
  bool ShowWindow(platform::WindowHandle window, platform::ShowCommand command) override;
  void UpdateWindow(platform::WindowHandle window) override;
  bool DestroyWindow(platform::WindowHandle window) override;
  bool SetWindowTitle(platform::WindowHandle window, std::string_view title) override;
  bool SetDialogItemText(platform::WindowHandle dialog, int control_id,
                         std::string_view text) override;
  void UpdateDialogControls(platform::WindowHandle dialog) override;
  void DrawClientText(platform::WindowHandle window, int x, int y, std::string_view text) override;

  void SetApplicationName(std::string_view name) override { application_name_ = name; }
  platform::BoxAnswer ShowMessageBox(platform::BoxKind kind, std::string_view text) override;

  bool EnumerateWindows(const std::function<bool(platform::WindowHandle)>& callback) override;
  std::string WindowTitle(platform::WindowHandle window, std::size_t buffer_size) override;
  std::string WindowClassName(platform::WindowHandle window, std::size_t buffer_size) override;
  std::uint32_t WindowProcessId(platform::WindowHandle window) override;
  std::intptr_t SendWindowMessage(platform::WindowHandle window, std::uint32_t message,
                                  std::uintptr_t wparam, std::intptr_t lparam) override;
  platform::WindowHandle DesktopWindow() override;
  platform::WindowHandle TopChildWindow(platform::WindowHandle parent) override;
  platform::WindowHandle NextWindow(platform::WindowHandle window) override;
  bool PlaceAtBottom(platform::WindowHandle window) override;

  bool MessageWaiting() override;
  bool PumpMessage() override;

  int NumColors() override;
  int ChangeDisplayBits(int bits_per_pixel, bool update_registry) override;

 private:
  std::string application_name_ = "qv731Ldr";
  // Our windows by handle value, each removed when its window is destroyed.
  std::map<std::uint32_t, std::unique_ptr<OwnWindow>> own_windows_;
};

// The class the main window is registered with, as the window list shows it
// (the name the simulated instrument gives it too).
inline constexpr const char* kMainWindowClass = "FrameWindow";

}  // namespace qv::win32
