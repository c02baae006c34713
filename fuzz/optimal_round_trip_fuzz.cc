// The optimal parse on arbitrary files, and on a longer file grown from each:
// the short ones reach its edge cases of headers and codes, the grown ones
// its block cuts and its long matches.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/round_trip_check.h"

namespace qv::fuzz {
namespace {

// Long enough for several blocks, short enough for many runs a second.
constexpr std::size_t kGrownSize = 24'000;

// Each pair of input bytes adds a byte, a run or a copy from up to a window
// back; the input is read round and round until the file is long enough.
std::vector<std::uint8_t> Grown(std::span<const std::uint8_t> input) {
  std::vector<std::uint8_t> file;
  if (input.size() < 2) return file;
  for (std::size_t at = 0; file.size() < kGrownSize; at = (at + 2) % (input.size() - 1)) {
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

}  // namespace

void OptimalRoundTripInput(std::span<const std::uint8_t> input) {
  CheckRoundTrip(input, true);
  CheckRoundTrip(Grown(input), true);
}

}  // namespace qv::fuzz
