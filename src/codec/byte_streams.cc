#include "codec/byte_streams.h"

namespace qv::codec {

std::size_t PackedSource::Read(std::span<std::uint8_t> buffer) {
  std::size_t count = 0;
  for (; count < buffer.size(); ++count) {
    const int byte = ReadByte();
    if (byte < 0) break;
    buffer[count] = static_cast<std::uint8_t>(byte);
  }
  return count;
}

}  // namespace qv::codec
