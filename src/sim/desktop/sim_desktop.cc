#include "sim/desktop/sim_desktop.h"

#include <algorithm>

#include "sim/desktop/desktop_names.h"

namespace qv::sim {

using platform::ShowCommand;
using platform::WindowHandle;
using platform::WindowState;

SimDesktop::SimDesktop(SimDesktopSetup setup, const DialogTemplates& templates,
                       const Layout& layout, Operator& person, DesktopObserver& observer,
                       const TimeSource& time)
    : setup_(std::move(setup)),
      templates_(templates),
      layout_(layout),
      person_(person),
      observer_(observer),
      time_(time),
      display_{setup_.display.bits, std::nullopt} {
  for (const ProgramWindow& program : setup_.programs) {
    programs_.push_back({program, ProgramSlot::Phase::kPending, {}});
  }
  RefreshPrograms();
}

WindowHandle SimDesktop::CreateMainWindow(const platform::MainWindowOptions& options) {
  SimWindow window;
  window.role = WindowRole::kMain;
  window.title = options.title;
  window.class_name = kFrameWindowClass;
  window.process_id = setup_.own_process_id;
  window.state = options.initial_state;
  window.rect = layout_.MainWindowRect(options.initial_state);
  window.background = options.background;
  window.on_user_message = options.on_user_message;
  SimWindow& added = windows_.Add(std::move(window));
  const PixelRect client = added.Client();
  added.canvas.Clear(client.width, client.height);
  latest_main_ = added.handle;
  ReportWindow(added, WindowOp::kCreate, std::string(WindowStateName(added.state)));
  return added.handle;
}

WindowHandle SimDesktop::CreateModelessDialog(int template_id, platform::DialogHandlers handlers) {
  const DialogTemplate* dialog = templates_.Find(template_id);
  if (dialog == nullptr) return {};
  SimWindow window;
  window.role = WindowRole::kDialog;
  window.title = dialog->caption;
  window.class_name = kDialogClass;
  window.process_id = setup_.own_process_id;
  window.rect = layout_.DialogWindowRect(*dialog);
  window.dialog = dialog;
  for (const DialogControl& control : dialog->controls)
    window.control_texts.push_back(control.text);
  window.handlers = std::move(handlers);
  const WindowHandle handle = windows_.Add(std::move(window)).handle;
  dialogs_.push_back(handle);
  const bool shows_itself = dialog->HasStyle(kWsVisible);
  ReportWindow(*windows_.Find(handle), WindowOp::kCreate, shows_itself ? "normal" : "hidden");

  UpdateDialogControls(handle);
  // Copied: the handler may destroy the window that holds it.
  if (const auto on_init = windows_.Find(handle)->handlers.on_init) on_init(handle);
  SimWindow* created = windows_.Find(handle);
  if (created == nullptr) return {};
  if (shows_itself) created->visible = true;
  return handle;
}

bool SimDesktop::ShowWindow(WindowHandle handle, ShowCommand command) {
  SimWindow* window = windows_.Find(handle);
  if (window == nullptr) return false;
  const bool was_visible = window->visible;
  bool visible = true;
  WindowState state = window->state;
  bool activate = false;
  switch (command) {
    case ShowCommand::kHide:
      visible = false;
      break;
    case ShowCommand::kShowNormal:
    case ShowCommand::kRestore:
      state = WindowState::kNormal;
      activate = true;
      break;
    case ShowCommand::kShowNoActivate:
      state = WindowState::kNormal;
      break;
    case ShowCommand::kShowMinimized:
    case ShowCommand::kMinimize:
    case ShowCommand::kShowMinNoActive:
      state = WindowState::kMinimized;
      break;
    case ShowCommand::kShowMaximized:
      state = WindowState::kMaximized;
      activate = true;
      break;
    case ShowCommand::kShow:
      activate = true;
      break;
    case ShowCommand::kShowNa:
      break;
  }
  const bool changed = visible != window->visible || state != window->state;
  if (window->Drawn() && (!visible || state == WindowState::kMinimized)) ExposeBelow(handle);
  window->visible = visible;
  window->state = state;
  if (window->role == WindowRole::kMain && changed) {
    // A new size or a return from the taskbar repaints the whole client area.
    window->rect = layout_.MainWindowRect(state);
    const PixelRect client = window->Client();
    window->canvas.Clear(client.width, client.height);
  }
  if (activate) RaiseWithRepaint(handle);
  ReportWindow(*window, WindowOp::kShow,
               visible ? std::string(WindowStateName(state)) : std::string("hidden"));
  return was_visible;
}

void SimDesktop::UpdateWindow(WindowHandle /*window*/) {}

bool SimDesktop::DestroyWindow(WindowHandle handle) {
  const SimWindow* window = windows_.Find(handle);
  if (window == nullptr || !Own(*window) || window->role == WindowRole::kMessageBox) return false;
  RemoveWindow(handle);
  return true;
}

bool SimDesktop::SetWindowTitle(WindowHandle handle, std::string_view title) {
  SimWindow* window = windows_.Find(handle);
  if (window == nullptr) return false;
  window->title = std::string(title);
  ReportWindow(*window, WindowOp::kCaption, window->title);
  return true;
}

bool SimDesktop::SetDialogItemText(WindowHandle handle, int control_id, std::string_view text) {
  SimWindow* window = windows_.Find(handle);
  if (window == nullptr || window->dialog == nullptr) return false;
  const std::vector<DialogControl>& controls = window->dialog->controls;
  const auto control = std::find_if(controls.begin(), controls.end(),
                                    [&](const DialogControl& c) { return c.id == control_id; });
  if (control == controls.end()) return false;
  std::string& current =
      window->control_texts[static_cast<std::size_t>(control - controls.begin())];
  if (current != text) {
    current = std::string(text);
    ReportWindow(*window, WindowOp::kText, current, control_id);
    observer_.DialogTextChanged(*this, handle);
  }
  return true;
}

void SimDesktop::UpdateDialogControls(WindowHandle handle) {
  const SimWindow* window = windows_.Find(handle);
  if (window == nullptr || !window->handlers.exchange) return;
  const auto exchange = window->handlers.exchange;
  for (const platform::ControlText& member : exchange()) {
    SetDialogItemText(handle, member.control_id, member.text);
  }
}

void SimDesktop::DrawClientText(WindowHandle handle, int x, int y, std::string_view text) {
  Report(DrawEvent{time_.NowMs(), x, y, std::string(text)});
  SimWindow* window = windows_.Find(handle);
  if (window != nullptr && window->role == WindowRole::kMain && window->Drawn()) {
    window->canvas.DrawText(x, y, text);
  }
}

void SimDesktop::RemoveWindow(WindowHandle handle) {
  const SimWindow* window = windows_.Find(handle);
  if (window == nullptr) return;
  ExposeBelow(handle);
  if (window->role == WindowRole::kMain) {
    if (handle == latest_main_) retired_main_canvas_ = window->canvas;
    // The framework ends the message loop when the main window goes.
    queue_.push_back({{}, kWmQuit});
  }
  ReportWindow(*window, WindowOp::kDestroy, {});
  windows_.Remove(handle);
}

void SimDesktop::ExposeBelow(WindowHandle handle) {
  const SimWindow* leaving = windows_.Find(handle);
  if (leaving == nullptr || !leaving->Drawn()) return;
  for (WindowHandle below = windows_.Below(handle); below; below = windows_.Below(below)) {
    SimWindow* window = windows_.Find(below);
    if (window->role != WindowRole::kMain || !window->Drawn()) continue;
    const PixelRect client = window->Client();
    window->canvas.Erase(Intersection(leaving->rect, client).Moved(-client.x, -client.y));
  }
}

void SimDesktop::RaiseWithRepaint(WindowHandle handle) {
  SimWindow* window = windows_.Find(handle);
  if (window->role == WindowRole::kMain && window->Drawn()) {
    // What lay under the windows in front was never painted; it is now.
    const PixelRect client = window->Client();
    for (const WindowHandle above : windows_.Above(handle)) {
      const SimWindow* front = windows_.Find(above);
      if (!front->Drawn()) continue;
      window->canvas.Erase(Intersection(front->rect, client).Moved(-client.x, -client.y));
    }
  }
  windows_.Raise(handle);
}

void SimDesktop::Report(DesktopEvent event) {
  observer_.Record(event);
}

void SimDesktop::ReportWindow(const SimWindow& window, WindowOp op, std::string detail,
                              int control_id) {
  if (window.role != WindowRole::kMain && window.role != WindowRole::kDialog) return;
  WindowEvent event;
  event.t_ms = time_.NowMs();
  event.window = window.role == WindowRole::kMain ? "main" : window.dialog->window;
  event.handle = window.handle;
  event.op = op;
  if (op == WindowOp::kCreate || op == WindowOp::kShow) {
    event.state = std::move(detail);
  } else {
    event.text = std::move(detail);
  }
  event.control_id = control_id;
  Report(std::move(event));
}

}  // namespace qv::sim
