#include "sim/desktop/window_table.h"

#include <algorithm>

namespace qv::sim {

using platform::WindowHandle;

SimWindow& WindowTable::Add(SimWindow window, std::size_t depth) {
  window.handle = WindowHandle{next_handle_};
  next_handle_ += 4;  // the system's handles step by four too
  const WindowHandle handle = window.handle;
  z_order_.insert(z_order_.begin() + static_cast<std::ptrdiff_t>(std::min(depth, z_order_.size())),
                  handle);
  return windows_.emplace(handle, std::move(window)).first->second;
}

void WindowTable::Remove(WindowHandle handle) {
  windows_.erase(handle);
  std::erase(z_order_, handle);
}

SimWindow* WindowTable::Find(WindowHandle handle) {
  const auto found = windows_.find(handle);
  return found == windows_.end() ? nullptr : &found->second;
}

const SimWindow* WindowTable::Find(WindowHandle handle) const {
  const auto found = windows_.find(handle);
  return found == windows_.end() ? nullptr : &found->second;
}

void WindowTable::Raise(WindowHandle handle) {
  if (Find(handle) == nullptr) return;
  std::erase(z_order_, handle);
  z_order_.insert(z_order_.begin(), handle);
}

void WindowTable::Lower(WindowHandle handle) {
  if (Find(handle) == nullptr) return;
  std::erase(z_order_, handle);
  z_order_.push_back(handle);
}

WindowHandle WindowTable::Below(WindowHandle handle) const {
  const auto found = std::find(z_order_.begin(), z_order_.end(), handle);
  if (found == z_order_.end() || found + 1 == z_order_.end()) return {};
  return *(found + 1);
}

std::vector<WindowHandle> WindowTable::Above(WindowHandle handle) const {
  const auto found = std::find(z_order_.begin(), z_order_.end(), handle);
  if (found == z_order_.end()) return {};
  std::vector<WindowHandle> above(z_order_.begin(), found);
  std::reverse(above.begin(), above.end());
  return above;
}

}  // namespace qv::sim
