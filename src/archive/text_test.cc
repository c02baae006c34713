#include "archive/text_test.h"

#include <array>

namespace qv::archive {

std::uint32_t TextTestFlags(FileSlots& slots, int slot) {
  const std::int64_t size = slots.Length(slot);
  if (size <= 0 || slots.Seek(slot, 0, platform::SeekOrigin::kBegin) < 0) return 0;
  const std::int64_t zeros_allowed = 2 * size / 100 + 1;
  const std::int64_t controls_allowed = size / 10 + 1;
  const std::int64_t line_feeds_needed = 2 * size / 1000 + 1;
  std::int64_t zeros = 0, controls = 0, line_feeds = 0;
  bool binary = false;
  std::array<std::uint8_t, 4096> block{};
  for (std::size_t got = 1; got > 0 && !binary;) {
    got = slots.Read(slot, block);
    for (std::size_t i = 0; i < got && !binary; ++i) {
      const std::uint8_t byte = block[i];
      if (byte == '\n') {
        ++line_feeds;
      } else if (byte == 0) {
        binary = ++zeros > zeros_allowed;
      } else if ((byte < 0x20 && byte != '\t') || byte > 0x7F) {
        binary = ++controls > controls_allowed;
      }
    }
  }
  slots.Seek(slot, 0, platform::SeekOrigin::kBegin);
  return binary || line_feeds < line_feeds_needed ? kFlagBinary : kFlagText;
}

}  // namespace qv::archive
