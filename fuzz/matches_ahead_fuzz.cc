// Matches found ahead on threads, on arbitrary files and on a longer file
// grown from each: the member packs to the same bytes as with one finder,
// whatever the cuts (small segments, so that the grown file crosses
// several).
#include <memory>
#include <vector>

#include "codec/encoder.h"
#include "codec/matches_ahead_threads.h"
#include "codec/memory_streams.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/grown_file.h"

namespace qv::fuzz {
namespace {

// Several cuts of the largest segments.
constexpr std::size_t kGrownCuts = 48 * 1024;

struct Result {
  std::vector<std::uint8_t> bytes;
  qv::MemberRecord record;
  qv::Status status;
};

Result Pack(const std::vector<std::uint8_t>& file, const codec::MatchesAheadSizes* sizes) {
  codec::Encoder encoder;
  if (sizes != nullptr) {
    encoder.set_matches_ahead([sizes](codec::PackInput& input) {
      return std::make_unique<codec::MatchesAheadOnThreads>(input, 2, *sizes);
    });
  }
  codec::MemoryPackInput input(file);
  codec::MemoryPackOutput output;
  Result result;
  result.record.set_name("FUZZ.BIN");
  bool replacing = false;
  result.status = encoder.PackMember(result.record, &input, &output, replacing);
  result.bytes = output.bytes();
  return result;
}

void ExpectSame(const Result& ahead, const Result& one) {
  if (ahead.status != one.status || ahead.bytes != one.bytes ||
      ahead.record.packed_size != one.record.packed_size ||
      ahead.record.unpacked_size != one.record.unpacked_size ||
      ahead.record.crc != one.record.crc || ahead.record.method != one.record.method) {
    Broken("the bytes of one finder");
  }
}

}  // namespace

void MatchesAheadInput(std::span<const std::uint8_t> input) {
  if (input.empty()) return;
  // The first byte picks the segment (1 to 4 windows) and the warm-up (one
  // window up to the segment).
  const std::size_t segment_windows = 1 + input[0] % 4;
  const std::size_t warm_up_windows = 1 + (input[0] >> 2) % segment_windows;
  const codec::MatchesAheadSizes sizes{segment_windows * codec::kWindowSize,
                                       warm_up_windows * codec::kWindowSize};
  const auto rest = input.subspan(1);
  const std::vector<std::uint8_t> file(rest.begin(), rest.end());
  ExpectSame(Pack(file, &sizes), Pack(file, nullptr));
  const std::vector<std::uint8_t> grown = Grown(rest, kGrownCuts);
  ExpectSame(Pack(grown, &sizes), Pack(grown, nullptr));
}

}  // namespace qv::fuzz
