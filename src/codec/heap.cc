#include "codec/heap.h"

namespace qv::codec {

const Heap& ProcessHeap() {
  static const Heap heap;
  return heap;
}

std::vector<std::uint8_t> TryBuffer(const Heap& heap, std::size_t size) {
  if (!heap.Grants(size)) return {};
  try {
    return std::vector<std::uint8_t>(size);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace qv::codec
