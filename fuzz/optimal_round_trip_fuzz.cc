// The optimal parse on arbitrary files, and on a longer file grown from each:
// the short ones reach its edge cases of headers and codes, the grown ones
// its block cuts and its long matches.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/grown_file.h"
#include "fuzz/round_trip_check.h"

namespace qv::fuzz {

// Long enough for several blocks, short enough for many runs a second.
constexpr std::size_t kGrownBlocks = 24'000;

void OptimalRoundTripInput(std::span<const std::uint8_t> input) {
  CheckRoundTrip(input, true);
  CheckRoundTrip(Grown(input, kGrownBlocks), true);
}

}  // namespace qv::fuzz
