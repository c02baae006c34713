#include "codec/huffman_code.h"

#include <algorithm>

namespace qv::codec {

int HuffmanCodeBuilder::Build(std::span<std::uint16_t> frequencies, std::span<std::uint8_t> lengths,
                              std::span<std::uint16_t> codes) {
  frequencies_ = frequencies;
  symbols_ = static_cast<int>(lengths.size());
  std::fill(lengths.begin(), lengths.end(), 0);
  heap_size_ = 0;
  for (int symbol = 0; symbol < symbols_; ++symbol) {
    if (frequencies[symbol] != 0) heap_[++heap_size_] = Entry(symbol);
  }
  if (heap_size_ < 2) {
    const int only = heap_size_ == 1 ? Node(heap_[1]) : 0;
    codes[only] = 0;
    return only;
  }
  heap_[heap_size_ + 1] = kAboveAll;
  for (int position = heap_size_ / 2; position >= 1; --position)
    SiftDown(position);

  int leaves = 0;
  int next_node = symbols_;
  int root = 0;
  while (heap_size_ > 1) {
    const int first = Node(heap_[1]);
    if (first < symbols_) leaf_order_[leaves++] = static_cast<std::uint16_t>(first);
    heap_[1] = heap_[heap_size_];
    heap_[heap_size_--] = kAboveAll;
    SiftDown(1);
    const int second = Node(heap_[1]);
    if (second < symbols_) leaf_order_[leaves++] = static_cast<std::uint16_t>(second);
    root = next_node++;
    frequencies[root] = static_cast<std::uint16_t>(frequencies[first] + frequencies[second]);
    heap_[1] = Entry(root);
    SiftDown(1);
    left_[root] = static_cast<std::uint16_t>(first);
    right_[root] = static_cast<std::uint16_t>(second);
  }

  CountLeafDepths(root);
  LimitLengths();
  // The least frequent symbols left the heap first and take the longest codes.
  int next_leaf = 0;
  for (int length = kMaxCodeLength; length >= 1; --length) {
    for (int i = 0; i < depth_count_[length]; ++i) {
      lengths[leaf_order_[next_leaf++]] = static_cast<std::uint8_t>(length);
    }
  }
  // Canonical codes: by length, then by symbol.
  std::array<std::uint16_t, kMaxCodeLength + 2> first_code{};
  for (int length = 1; length <= kMaxCodeLength; ++length) {
    first_code[length + 1] =
        static_cast<std::uint16_t>((first_code[length] + depth_count_[length]) << 1);
  }
  for (int symbol = 0; symbol < symbols_; ++symbol) {
    if (lengths[symbol] != 0) codes[symbol] = first_code[lengths[symbol]]++;
  }
  return root;
}

void HuffmanCodeBuilder::SiftDown(int position) {
  const HeapEntry element = heap_[position];
  const unsigned frequency = Frequency(element);
  while (2 * position <= heap_size_) {
    int child = 2 * position;
    child += Frequency(heap_[child]) > Frequency(heap_[child + 1]) ? 1 : 0;
    if (frequency <= Frequency(heap_[child])) break;
    heap_[position] = heap_[child];
    position = child;
  }
  heap_[position] = element;
}

void HuffmanCodeBuilder::CountLeafDepths(int root) {
  depth_count_.fill(0);
  // Walk the tree with an explicit stack; depth 16 stands for anything deeper.
  std::array<std::pair<int, int>, kMaxTreeNodes> stack;
  int top = 0;
  stack[top++] = {root, 0};
  while (top > 0) {
    const auto [node, depth] = stack[--top];
    if (node < symbols_) {
      ++depth_count_[std::min(depth, kMaxCodeLength)];
    } else {
      stack[top++] = {left_[node], depth + 1};
      stack[top++] = {right_[node], depth + 1};
    }
  }
}

// Moves leaves down until the lengths fill exactly the 16-bit code space.
void HuffmanCodeBuilder::LimitLengths() {
  std::uint32_t total = 0;
  for (int length = 1; length <= kMaxCodeLength; ++length) {
    total += static_cast<std::uint32_t>(depth_count_[length]) << (kMaxCodeLength - length);
  }
  while (total != 1u << kMaxCodeLength) {
    --depth_count_[kMaxCodeLength];
    for (int length = kMaxCodeLength - 1; length >= 1; --length) {
      if (depth_count_[length] != 0) {
        --depth_count_[length];
        depth_count_[length + 1] += 2;
        break;
      }
    }
    --total;
  }
}

}  // namespace qv::codec
