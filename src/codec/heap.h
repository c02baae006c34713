// Where the codec's objects take their working memory (the match finder's
// arrays, the staging buffer, the store copy buffer). The process heap grants
// every request and leaves real exhaustion to std::bad_alloc, which the codec
// catches; a heap with a ceiling stands for an instrument short of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace qv::codec {

class Heap {
 public:
  virtual ~Heap() = default;
  // Whether a request for `bytes` bytes may be served.
  virtual bool Grants(std::size_t bytes) const {
    static_cast<void>(bytes);
    return true;
  }
};

// The heap of the process; it keeps no state.
const Heap& ProcessHeap();

// A value-initialised T, or nothing when the heap refuses it.
template <class T>
std::unique_ptr<T> TryMake(const Heap& heap) {
  if (!heap.Grants(sizeof(T))) return nullptr;
  try {
    return std::make_unique<T>();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// A zero-filled buffer of `size` bytes, or an empty one when the heap
// refuses it.
std::vector<std::uint8_t> TryBuffer(const Heap& heap, std::size_t size);

}  // namespace qv::codec
