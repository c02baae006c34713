// A longer file grown from a fuzz input, for the promises that show only
// past the first blocks or windows: block cuts, long matches, segment cuts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv::fuzz {

// Each pair of input bytes adds a byte, a run or a copy from up to a window
// back; the input is read round and round until the file has `size` bytes
// or more. Empty for an input shorter than two bytes.
inline std::vector<std::uint8_t> Grown(std::span<const std::uint8_t> input, std::size_t size) {
  std::vector<std::uint8_t> file;
  if (input.size() < 2) return file;
  for (std::size_t at = 0; file.size() < size; at = (at + 2) % (input.size() - 1)) {
    const unsigned kind = input[at];
    const unsigned value = input[at + 1];
    if (kind < 64 || file.empty()) {
      file.push_back(static_cast<std::uint8_t>(value));
    } else if (kind < 96) {
      file.insert(file.end(), (kind - 63) * 16, static_cast<std::uint8_t>(value));
    } else {
      const std::size_t distance = 1 + (kind * 257 + value * 31 + file.size()) % 4096 % file.size();
      for (std::size_t n = 3 + (kind + value) % 300; n > 0; --n)
        file.push_back(file[file.size() - distance]);
    }
  }
  return file;
}

}  // namespace qv::fuzz
