// The simulated window system behind the Desktop port. It keeps every
// top-level window in memory: the loader's own, and other programs' windows
// that come and go as the desktop list says. A simulated operator answers
// message boxes and presses dialog buttons; everything the loader shows is
// reported to an observer, stamped with the injected virtual time; the
// screen can be taken as a scene to render at any moment.
//
// A machine wires it from its machine.json sections (sim/machine_desktop.h)
// and takes pictures of it (sim/screen_pictures.h).
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "sim/desktop/desktop_events.h"
#include "sim/desktop/dialog_template.h"
#include "sim/desktop/layout.h"
#include "sim/desktop/machine_sections.h"
#include "sim/desktop/main_canvas.h"
#include "sim/desktop/operator.h"
#include "sim/desktop/screen_scene.h"
#include "sim/desktop/window_table.h"

namespace qv::sim {

// The class names the system gives the loader's windows.
inline constexpr const char* kFrameWindowClass = "FrameWindow";
inline constexpr const char* kDialogClass = "#32770";
// The caption of a message box that was given none.
inline constexpr const char* kDefaultBoxCaption = "Error";

struct SimDesktopSetup {
  std::vector<ProgramWindow> programs;  // topmost first
  DisplaySetup display;
  // The framework's message-box caption until the application names itself.
  std::string application_name = "qv731Ldr";
  // The loader's own process: its windows belong to it.
  std::uint32_t own_process_id = 1;
};

struct DisplayState {
  int bits = 24;
  std::optional<int> stored_bits;  // a mode stored for later starts
};

class SimDesktop final : public platform::Desktop {
 public:
  // Templates, layout, operator, observer and time must outlive the desktop.
  SimDesktop(SimDesktopSetup setup, const DialogTemplates& templates, const Layout& layout,
             Operator& person, DesktopObserver& observer, const TimeSource& time);

  platform::WindowHandle CreateMainWindow(const platform::MainWindowOptions& options) override;
  platform::WindowHandle CreateModelessDialog(int template_id,
                                              platform::DialogHandlers handlers) override;
  bool ShowWindow(platform::WindowHandle window, platform::ShowCommand command) override;
  // The simulated screen is always up to date.
  void UpdateWindow(platform::WindowHandle window) override;
  bool DestroyWindow(platform::WindowHandle window) override;
  bool SetWindowTitle(platform::WindowHandle window, std::string_view title) override;
  bool SetDialogItemText(platform::WindowHandle dialog, int control_id,
                         std::string_view text) override;
  void UpdateDialogControls(platform::WindowHandle dialog) override;
  // Reported always; shows only on a main window that is visible and not
  // minimised.
  void DrawClientText(platform::WindowHandle window, int x, int y, std::string_view text) override;

  void SetApplicationName(std::string_view name) override {
    setup_.application_name = std::string(name);
  }
  platform::BoxAnswer ShowMessageBox(platform::BoxKind kind, std::string_view text) override;

  // Each call is one scan: the count goes up before the programs' windows
  // are brought up to date.
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

  // The operator sees each open dialog with buttons once per scan here.
  bool MessageWaiting() override;
  // With nothing to do, tells the observer the loader is idle and has the
  // person close the main window (its destruction posts the quit message).
  bool PumpMessage() override;

  int NumColors() override;
  int ChangeDisplayBits(int bits_per_pixel, bool update_registry) override;

  // --- For the simulator ---

  int scan_count() const { return scan_; }
  const DisplayState& display() const { return display_; }
  // The screen as it is now, ready to render.
  Scene Screen();
  // The status lines of the latest main window as its pixels show them
  // (kept after the window is gone).
  std::vector<VisibleText> MainWindowText() const;

 private:
  static constexpr std::uint32_t kWmQuit = 0x0012;

  struct ProgramSlot {
    ProgramWindow program;
    enum class Phase { kPending, kAlive, kGone } phase = Phase::kPending;
    platform::WindowHandle handle;
  };
  struct QueuedMessage {
    platform::WindowHandle window;
    std::uint32_t message = 0;
    int control_id = 0;
  };

  void RefreshPrograms();
  void OfferDialogsToOperator();
  void Dispatch(const QueuedMessage& message);
  void RemoveWindow(platform::WindowHandle handle);
  // Repaints the green of main windows below the window where it covers
  // them, as when it goes away or moves beneath them.
  void ExposeBelow(platform::WindowHandle handle);
  void RaiseWithRepaint(platform::WindowHandle handle);
  void Report(DesktopEvent event);
  void ReportWindow(const SimWindow& window, WindowOp op, std::string detail, int control_id = 0);
  DialogQuestion QuestionFor(const SimWindow& dialog) const;
  bool Own(const SimWindow& window) const { return window.process_id == setup_.own_process_id; }

  SimDesktopSetup setup_;
  const DialogTemplates& templates_;
  const Layout& layout_;
  Operator& person_;
  DesktopObserver& observer_;
  const TimeSource& time_;

  WindowTable windows_;
  std::vector<ProgramSlot> programs_;
  std::deque<QueuedMessage> queue_;
  DisplayState display_;
  int scan_ = 0;
  // The scan and time of the last refresh of the programs' windows, which
  // depends on nothing else: the loader asks whether a message waits once
  // per window it examines.
  std::optional<std::pair<int, std::int64_t>> programs_refreshed_;
  // Every dialog made, that may be waiting for the operator; pruned as
  // they go.
  std::vector<platform::WindowHandle> dialogs_;
  platform::WindowHandle latest_main_;
  MainCanvas retired_main_canvas_;
};

}  // namespace qv::sim
