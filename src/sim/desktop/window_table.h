// The top-level windows of the simulated system with their handles and
// their z-order (topmost first). Handles are never reused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/window_handle.h"
#include "sim/desktop/sim_window.h"

namespace qv::sim {

class WindowTable {
 public:
  // The desktop window: the parent of every top-level window, not listed.
  static constexpr platform::WindowHandle kDesktop{0x0010};

  // Gives the window a new handle and puts it at the given depth (0 = top).
  SimWindow& Add(SimWindow window, std::size_t depth = 0);
  void Remove(platform::WindowHandle handle);

  SimWindow* Find(platform::WindowHandle handle);
  const SimWindow* Find(platform::WindowHandle handle) const;

  void Raise(platform::WindowHandle handle);
  void Lower(platform::WindowHandle handle);

  // Topmost first.
  const std::vector<platform::WindowHandle>& z_order() const { return z_order_; }
  // The window below, or none.
  platform::WindowHandle Below(platform::WindowHandle handle) const;
  // The windows above, nearest first.
  std::vector<platform::WindowHandle> Above(platform::WindowHandle handle) const;

 private:
  static constexpr std::uint32_t kFirstHandle = 0x0100;
  static constexpr std::uint32_t kHandleStep = 4;  // the system's handles step by four too

  // The slot of a handle this table gave, or none.
  std::optional<std::size_t> Slot(platform::WindowHandle handle) const;

  // Indexed by handle, a slot per handle ever given (handles are never
  // reused): windows are looked up for every window of every scan, and a
  // boot may show hundreds. A deque keeps the windows where they are as it
  // grows.
  std::deque<std::optional<SimWindow>> windows_;
  std::vector<platform::WindowHandle> z_order_;
};

}  // namespace qv::sim
