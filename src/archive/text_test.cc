#include "archive/text_test.h"

#include <span>
#include <vector>

namespace qv::archive {
namespace {

struct ByteCounts {
  std::int64_t line_feeds = 0;
  std::int64_t zeros = 0;
  std::int64_t controls = 0;  // other control bytes
};

// Bytes counted a run at a time: sums instead of a branch per byte, in
// counters of a byte each, so that a run of fixed length compiles to vector
// instructions.
constexpr std::size_t kRun = 64;
static_assert(kRun <= 0xFF);

template <std::size_t kExtent>
void CountRun(std::span<const std::uint8_t, kExtent> run, ByteCounts& counts) {
  std::uint8_t line_feeds = 0;
  std::uint8_t zeros = 0;
  std::uint8_t controls = 0;
  for (const std::uint8_t byte : run) {
    line_feeds += byte == '\n';
    zeros += byte == 0;
    controls += (byte < 0x20 || byte > 0x7F) && byte != '\t' && byte != '\n' && byte != 0;
  }
  counts.line_feeds += line_feeds;
  counts.zeros += zeros;
  counts.controls += controls;
}

void Count(std::span<const std::uint8_t> bytes, ByteCounts& counts) {
  std::size_t at = 0;
  for (; bytes.size() - at >= kRun; at += kRun)
    CountRun(bytes.subspan(at).first<kRun>(), counts);
  CountRun(bytes.subspan(at), counts);
}

}  // namespace

std::uint32_t TextTestFlags(FileSlots& slots, int slot) {
  const std::int64_t size = slots.Length(slot);
  if (size <= 0 || slots.Seek(slot, 0, platform::SeekOrigin::kBegin) < 0) return 0;
  const std::int64_t zeros_allowed = 2 * size / 100 + 1;
  const std::int64_t controls_allowed = size / 10 + 1;
  const std::int64_t line_feeds_needed = 2 * size / 1000 + 1;
  ByteCounts counts;
  // The counts only grow, so a limit passed anywhere in a block is passed at
  // its end: the test stops after the block, with the same answer.
  bool binary = false;
  std::vector<std::uint8_t> block(std::size_t{64} << 10);
  for (std::size_t got = 1; got > 0 && !binary;) {
    got = slots.Read(slot, block);
    Count(std::span(block).first(got), counts);
    binary = counts.zeros > zeros_allowed || counts.controls > controls_allowed;
  }
  slots.Seek(slot, 0, platform::SeekOrigin::kBegin);
  return binary || counts.line_feeds < line_feeds_needed ? kFlagBinary : kFlagText;
}

}  // namespace qv::archive
