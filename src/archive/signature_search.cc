#include "archive/signature_search.h"

#include <array>

#include "archive/member_header.h"

namespace qv::archive {

std::int64_t FindSignature(FileSlots& slots, int slot, std::int64_t limit,
                           const std::function<bool()>& after_block) {
  constexpr std::int64_t kBlock = 6'144;
  const std::int64_t start = slots.Tell(slot);
  if (start < 0) return ToInt(Status::kNotAnArchive);
  std::array<std::uint8_t, kBlock> block{};
  std::int64_t result = ToInt(Status::kNotAnArchive);
  std::int64_t read = 0;
  std::size_t matched = 0;
  while (read <= limit) {
    const std::size_t got = slots.Read(slot, std::span(block.data(), block.size()));
    for (std::size_t i = 0; i < got; ++i) {
      if (block[i] != kSignature[matched]) matched = 0;
      if (block[i] == kSignature[matched] && ++matched == kSignature.size()) {
        result = start + read + static_cast<std::int64_t>(i + 1 - kSignature.size());
        break;
      }
    }
    read += static_cast<std::int64_t>(got);
    if (!after_block()) result = ToInt(Status::kCanceled);
    if (result != ToInt(Status::kNotAnArchive) || got < block.size()) break;
  }
  slots.Seek(slot, start, platform::SeekOrigin::kBegin);
  return result;
}

}  // namespace qv::archive
