#include "archive/buffer_pool.h"

#include <utility>

namespace qv::archive {

Buffer BufferPool::Take(std::size_t size) {
  auto best = kept_.end();
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if (it->capacity >= size && (best == kept_.end() || it->capacity < best->capacity)) best = it;
  }
  if (best == kept_.end()) {
    return {std::make_unique_for_overwrite<std::uint8_t[]>(size), size};
  }
  std::swap(*best, kept_.back());
  Buffer taken = std::move(kept_.back());
  kept_.pop_back();
  kept_bytes_ -= taken.capacity;
  return taken;
}

void BufferPool::Give(Buffer buffer) {
  if (!buffer.bytes || kept_bytes_ + buffer.capacity > limit_) return;
  kept_bytes_ += buffer.capacity;
  kept_.push_back(std::move(buffer));
}

}  // namespace qv::archive
