// The encoder on arbitrary files: whatever it packs, compressed or stored,
// must come back byte for byte, with the CRC of the packed bytes.
#include "fuzz/round_trip_check.h"

namespace qv::fuzz {

void RoundTripInput(std::span<const std::uint8_t> input) {
  CheckRoundTrip(input, false);
}

}  // namespace qv::fuzz
