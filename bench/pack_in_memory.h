// Packs bytes as a member with today's encoder, in memory: what the
// benchmarks compare against.
#pragma once

#include <cstdint>
#include <vector>

#include "codec/encoder.h"
#include "codec/memory_streams.h"

namespace qv::bench {

inline std::vector<std::uint8_t> PackInMemory(const std::vector<std::uint8_t>& data) {
  codec::MemoryPackInput input(data);
  codec::MemoryPackOutput output;
  codec::Encoder encoder;
  MemberRecord record;
  bool replacing = false;
  encoder.PackMember(record, &input, &output, replacing);
  return output.bytes();
}

}  // namespace qv::bench
