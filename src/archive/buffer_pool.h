// Blocks of bytes kept for reuse by the work done ahead. A block the
// process already holds costs nothing to fill; a new one costs a page fault
// per page when first written and a call to the system when it is given
// back, which on the thread that writes an extraction cost as much as
// copying the bytes. Not shared between threads: one thread takes and gives,
// and the blocks travel with the work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv::archive {

// Uninitialised bytes, `capacity` of them.
struct Buffer {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t capacity = 0;
};

class BufferPool {
 public:
  // Keeps at most `kept_bytes` bytes of the blocks given back.
  explicit BufferPool(std::size_t kept_bytes) : limit_(kept_bytes) {}

  // The smallest kept block of at least `size` bytes, or a new one.
  Buffer Take(std::size_t size);
  // Keeps the block for a later Take, unless the pool would then hold more
  // than its limit.
  void Give(Buffer buffer);

 private:
  std::vector<Buffer> kept_;
  std::size_t kept_bytes_ = 0;
  std::size_t limit_;
};

}  // namespace qv::archive
