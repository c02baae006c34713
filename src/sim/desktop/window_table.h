// The top-level windows of the simulated system with their handles and
// their z-order (topmost first). Handles are never reused.
#pragma once

#include <cstddef>
#include <map>
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
  std::map<platform::WindowHandle, SimWindow> windows_;
  std::vector<platform::WindowHandle> z_order_;
  std::uint32_t next_handle_ = 0x0100;
};

}  // namespace qv::sim
