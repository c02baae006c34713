#include "sim/desktop/window_table.h"

#include <algorithm>
#include <utility>

namespace qv::sim {

using platform::WindowHandle;

SimWindow& WindowTable::Add(SimWindow window, std::size_t depth) {
  window.handle =
      WindowHandle{kFirstHandle + static_cast<std::uint32_t>(windows_.size()) * kHandleStep};
  const WindowHandle handle = window.handle;
  z_order_.insert(z_order_.begin() + static_cast<std::ptrdiff_t>(std::min(depth, z_order_.size())),
                  handle);
  return windows_.emplace_back(std::move(window)).value();
}

void WindowTable::Remove(WindowHandle handle) {
  if (const auto slot = Slot(handle)) windows_[*slot].reset();
  std::erase(z_order_, handle);
}

std::optional<std::size_t> WindowTable::Slot(WindowHandle handle) const {
  if (handle.value < kFirstHandle || (handle.value - kFirstHandle) % kHandleStep != 0) return {};
  const std::size_t slot = (handle.value - kFirstHandle) / kHandleStep;
  if (slot >= windows_.size()) return {};
  return slot;
}

SimWindow* WindowTable::Find(WindowHandle handle) {
  return const_cast<SimWindow*>(std::as_const(*this).Find(handle));
}

const SimWindow* WindowTable::Find(WindowHandle handle) const {
  const auto slot = Slot(handle);
  return slot && windows_[*slot] ? &*windows_[*slot] : nullptr;
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
