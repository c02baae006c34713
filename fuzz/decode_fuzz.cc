// The decoder on arbitrary packed bytes: it must never touch memory outside
// its tables and the window, never hang, and always fill every chunk.
//
// Input: two bytes of unpacked size (up to 64 KiB, so that matches cross
// chunks), one byte that may make the claimed packed size larger than the
// bytes present (the missing ones read as end of file), then the stream.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/decoder.h"
#include "codec/memory_streams.h"
#include "fuzz/fuzz_entries.h"

namespace qv::fuzz {

void DecodeInput(std::span<const std::uint8_t> input) {
  const std::uint8_t* data = input.data();
  const std::size_t size = input.size();
  if (size < 3) return;
  const std::size_t unpacked = data[0] | static_cast<std::size_t>(data[1]) << 8;
  const std::span<const std::uint8_t> packed(data + 3, size - 3);
  const auto packed_size = static_cast<std::uint32_t>(packed.size() + data[2] % 16);

  qv::codec::MemoryPackedSource source(packed);
  qv::codec::Decoder decoder;
  decoder.DecodeStart(source, packed_size);
  std::array<std::uint8_t, qv::codec::kWindowSize> window{};
  qv::MemberRecord record;
  for (std::size_t done = 0; done < unpacked;) {
    const std::size_t count = std::min(qv::codec::kWindowSize, unpacked - done);
    const qv::Status status = decoder.DecodeChunk(record, count, window);
    if (status != qv::Status::kOk && status != qv::Status::kCrcError) Broken("a chunk decodes");
    done += count;
  }
  static_cast<void>(decoder.PackedCrc());
  if (source.position() > packed.size()) Broken("no byte read past the stream");
}

}  // namespace qv::fuzz
