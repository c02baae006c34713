// The promise both parses keep on any file: whatever the encoder packs,
// compressed or stored, comes back byte for byte through the decoder, with
// the CRC of the packed bytes.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "codec/crc32.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/memory_streams.h"
#include "fuzz/fuzz_entries.h"

namespace qv::fuzz {

inline void CheckRoundTrip(std::span<const std::uint8_t> input, bool optimal_parse) {
  const std::size_t size = input.size();
  const std::vector<std::uint8_t> file(input.begin(), input.end());
  qv::codec::MemoryPackInput in(file);
  qv::codec::MemoryPackOutput output;
  qv::codec::Encoder encoder;
  encoder.set_optimal_parse(optimal_parse);
  qv::MemberRecord record;
  record.set_name("FUZZ.BIN");
  bool replacing = false;
  if (encoder.PackMember(record, &in, &output, replacing) != qv::Status::kOk) Broken("packs");
  const std::vector<std::uint8_t>& packed = output.bytes();
  if (packed.size() != record.packed_size || record.unpacked_size != size) Broken("sizes");
  if (qv::codec::Crc32(packed) != record.crc) Broken("the CRC of the packed bytes");
  if (record.method == qv::kMethodStored) {
    if (packed != file) Broken("stored bytes unchanged");
    return;
  }

  qv::codec::MemoryPackedSource source(packed);
  qv::codec::Decoder decoder;
  decoder.DecodeStart(source, record.packed_size);
  std::array<std::uint8_t, qv::codec::kWindowSize> window{};
  for (std::size_t done = 0; done < size;) {
    const std::size_t count = std::min(qv::codec::kWindowSize, size - done);
    if (decoder.DecodeChunk(record, count, window) != qv::Status::kOk) Broken("unpacks");
    for (std::size_t i = 0; i < count; ++i) {
      if (window[i] != file[done + i]) Broken("the same bytes back");
    }
    done += count;
  }
  if (decoder.PackedCrc() != record.crc) Broken("the decoder's CRC");
}

}  // namespace qv::fuzz
