// The window list of all programs: enumeration, titles, classes, owners,
// close requests, z-order, and the desktop list's windows coming and going.
#include <algorithm>

#include "sim/desktop/sim_desktop.h"

namespace qv::sim {

using platform::WindowHandle;

namespace {

std::string Truncated(const std::string& text, std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  return text.substr(0, buffer_size - 1);
}

}  // namespace

void SimDesktop::RefreshPrograms() {
  const std::int64_t now = time_.NowMs();
  // A program's window only comes and goes with the scan and the time.
  if (programs_refreshed_ == std::pair{scan_, now}) return;
  programs_refreshed_ = std::pair{scan_, now};
  std::size_t depth = 0;  // windows that appear together keep the list's order
  for (ProgramSlot& slot : programs_) {
    const Lifetime& lifetime = slot.program.lifetime;
    const bool ended = lifetime.Ended(scan_, now);
    if (slot.phase == ProgramSlot::Phase::kAlive && ended) {
      RemoveWindow(slot.handle);
      slot.phase = ProgramSlot::Phase::kGone;
    } else if (slot.phase == ProgramSlot::Phase::kPending && ended) {
      slot.phase = ProgramSlot::Phase::kGone;
    } else if (slot.phase == ProgramSlot::Phase::kPending && lifetime.Begun(scan_, now)) {
      SimWindow window;
      window.role = WindowRole::kProgram;
      window.title = slot.program.title;
      window.class_name = slot.program.class_name;
      window.process_id = slot.program.process_id;
      window.visible = slot.program.visible;
      window.state = slot.program.state;
      window.rect = slot.program.rect.value_or(PixelRect{});
      window.has_rect = slot.program.rect.has_value();
      window.on_close = slot.program.on_close;
      slot.handle = windows_.Add(std::move(window), depth++).handle;
      slot.phase = ProgramSlot::Phase::kAlive;
    }
  }
}

bool SimDesktop::EnumerateWindows(const std::function<bool(WindowHandle)>& callback) {
  ++scan_;
  RefreshPrograms();
  const std::vector<WindowHandle> snapshot = windows_.z_order();
  for (const WindowHandle handle : snapshot) {
    if (windows_.Find(handle) == nullptr) continue;  // gone meanwhile
    if (!callback(handle)) return false;
  }
  return true;
}

std::string SimDesktop::WindowTitle(WindowHandle handle, std::size_t buffer_size) {
  const SimWindow* window = windows_.Find(handle);
  return window == nullptr ? std::string() : Truncated(window->title, buffer_size);
}

std::string SimDesktop::WindowClassName(WindowHandle handle, std::size_t buffer_size) {
  const SimWindow* window = windows_.Find(handle);
  return window == nullptr ? std::string() : Truncated(window->class_name, buffer_size);
}

std::uint32_t SimDesktop::WindowProcessId(WindowHandle handle) {
  const SimWindow* window = windows_.Find(handle);
  return window == nullptr ? 0 : window->process_id;
}

std::intptr_t SimDesktop::SendWindowMessage(WindowHandle handle, std::uint32_t message,
                                            std::uintptr_t wparam, std::intptr_t lparam) {
  const SimWindow* window = windows_.Find(handle);
  if (window == nullptr) return 0;
  if (message == platform::kWmClose) {
    switch (window->role) {
      case WindowRole::kProgram:
        Report(CloseEvent{time_.NowMs(), window->title, window->class_name,
                          window->on_close == CloseBehaviour::kClose});
        if (window->on_close == CloseBehaviour::kClose) {
          for (ProgramSlot& slot : programs_) {
            if (slot.handle == handle) slot.phase = ProgramSlot::Phase::kGone;
          }
          RemoveWindow(handle);
        }
        break;
      case WindowRole::kMain:
      case WindowRole::kDialog:
        DestroyWindow(handle);
        break;
      case WindowRole::kMessageBox:
        break;
    }
    return 0;
  }
  if (message >= platform::kWmUser && window->role == WindowRole::kMain &&
      window->on_user_message) {
    // Copied: the handler may destroy the window that holds it.
    const auto handler = window->on_user_message;
    return handler(message, wparam, lparam);
  }
  return 0;
}

WindowHandle SimDesktop::DesktopWindow() {
  return WindowTable::kDesktop;
}

WindowHandle SimDesktop::TopChildWindow(WindowHandle parent) {
  RefreshPrograms();
  if (parent != WindowTable::kDesktop || windows_.z_order().empty()) return {};
  return windows_.z_order().front();
}

WindowHandle SimDesktop::NextWindow(WindowHandle handle) {
  return windows_.Below(handle);
}

bool SimDesktop::PlaceAtBottom(WindowHandle handle) {
  if (windows_.Find(handle) == nullptr) return false;
  ExposeBelow(handle);
  windows_.Lower(handle);
  return true;
}

}  // namespace qv::sim
