// What the simulated window system reports as it happens: status lines
// drawn, the loader's windows created, shown, captioned, changed and
// destroyed, message boxes with their answers, the person's presses in
// dialogs, close requests to other programs' windows, and display-mode
// changes.
// Each event carries the virtual time of the injected time source.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/desktop_types.h"
#include "platform/window_handle.h"

namespace qv::sim {

class SimDesktop;

// Virtual milliseconds since the boot began.
class TimeSource {
 public:
  virtual ~TimeSource() = default;
  virtual std::int64_t NowMs() const = 0;
};

struct DrawEvent {
  std::int64_t t_ms = 0;
  int x = 0;
  int y = 0;
  std::string text;
};

enum class WindowOp { kCreate, kShow, kCaption, kText, kDestroy };

struct WindowEvent {
  std::int64_t t_ms = 0;
  std::string window;  // main, statusbox, choice
  platform::WindowHandle handle;
  WindowOp op = WindowOp::kCreate;
  std::string state;   // create and show: normal, minimized, maximized, hidden
  std::string text;    // caption and text
  int control_id = 0;  // text
};

struct BoxEvent {
  std::int64_t t_ms = 0;
  platform::BoxKind kind = platform::BoxKind::kOk;
  std::string caption;
  std::string text;
  platform::BoxAnswer answer = platform::BoxAnswer::kOk;
};

// The person pressed a button of one of the loader's dialogs.
struct PressEvent {
  std::int64_t t_ms = 0;
  std::string window;  // choice
  int control_id = 0;
  std::string button;
};

// Another program's window was asked to close; it closed or stayed.
struct CloseEvent {
  std::int64_t t_ms = 0;
  std::string title;
  std::string class_name;
  bool closed = false;
};

struct DisplayChangeEvent {
  std::int64_t t_ms = 0;
  int bits = 0;
  int result = 0;
};

using DesktopEvent =
    std::variant<DrawEvent, WindowEvent, BoxEvent, PressEvent, CloseEvent, DisplayChangeEvent>;

class DesktopObserver {
 public:
  virtual ~DesktopObserver() = default;

  virtual void Record(const DesktopEvent& event) = 0;
  // A message box, or a dialog shown to the person for the first time,
  // is on the screen and waits for an answer.
  virtual void BoxWaiting(SimDesktop& /*desktop*/) {}
  // A control of one of the loader's dialogs shows a new text (already
  // recorded).
  virtual void DialogTextChanged(SimDesktop& /*desktop*/, platform::WindowHandle /*dialog*/) {}
  // The loader waits for messages and none will come; next, the simulated
  // person closes the main window.
  virtual void LoaderIdle(SimDesktop& /*desktop*/) {}
};

}  // namespace qv::sim
