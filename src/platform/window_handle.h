// The name by which the window system knows a window. A plain value: it stays
// valid to hold after the window is gone; the system then reports it as no
// window in every call.
#pragma once

#include <compare>
#include <cstdint>

namespace qv::platform {

struct WindowHandle {
  std::uint32_t value = 0;

  explicit operator bool() const { return value != 0; }
  friend auto operator<=>(WindowHandle, WindowHandle) = default;
};

}  // namespace qv::platform
