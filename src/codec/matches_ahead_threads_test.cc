#include "codec/matches_ahead_threads.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "codec/codec_test_support.h"
#include "codec/encoder.h"

namespace qv::codec {
namespace {

// Small segments, so that a short input has many cuts. After a warm-up of
// one window nearly every cut starts from a tree that answers otherwise;
// after two, the trees often differ in the flags alone (which the check
// must not overlook: text of a small vocabulary then packs otherwise, and
// so does text of Zipf's word frequencies, where a flag below a node of
// level 2 comes to count once a split puts a deeper node above it); after
// four they mostly agree.
constexpr std::size_t kSegment = 8 * kWindowSize;
constexpr MatchesAheadSizes kCuts[] = {{kSegment, kWindowSize},
                                       {kSegment, 2 * kWindowSize},
                                       {kSegment, 4 * kWindowSize},
                                       {4 * kWindowSize, kWindowSize},
                                       {4 * kWindowSize, 2 * kWindowSize}};
constexpr MatchesAheadSizes kShortWarmUp = kCuts[0];

struct Packing : Packed {
  std::vector<std::pair<std::int32_t, std::int32_t>> events;
  int searched_again = 0;
};

// Hands out a finder's segments and counts, when done, those searched again.
class Counted final : public MatchesAhead {
 public:
  Counted(PackInput& input, int threads, MatchesAheadSizes sizes, int& searched_again)
      : ahead_(input, threads, sizes), searched_again_(searched_again) {}
  ~Counted() override { searched_again_ += ahead_.searched_again(); }
  AnswerSegment Next() override { return ahead_.Next(); }

 private:
  MatchesAheadOnThreads ahead_;
  int& searched_again_;
};

// Packs `data` as a member with an encoder that `prepare` sets up, recording
// every event; the status word asks to cancel at the event numbered
// `cancel_at`, if any (event 0 is the start, event N the N-th progress step).
Packing PackWith(const std::vector<std::uint8_t>& data,
                 const std::function<void(Encoder&, Packing&)>& prepare, int cancel_at) {
  Packing run;
  const ProgressCallback progress = [&run, cancel_at](MemberRecord& record, std::int32_t event,
                                                      std::int32_t value) {
    if (static_cast<int>(run.events.size()) == cancel_at) record.status_word = kStatusWordCancel;
    run.events.emplace_back(event, value);
    return 0;
  };
  Encoder encoder(&progress);
  prepare(encoder, run);
  static_cast<Packed&>(run) = PackAll(encoder, data);
  return run;
}

// With matches found ahead when `threads` is set.
Packing Pack(const std::vector<std::uint8_t>& data, int threads = 0,
             MatchesAheadSizes sizes = kShortWarmUp, int cancel_at = -1) {
  return PackWith(
      data,
      [threads, sizes](Encoder& encoder, Packing& run) {
        if (threads == 0) return;
        encoder.set_matches_ahead([&run, threads, sizes](PackInput& input) {
          return std::make_unique<Counted>(input, threads, sizes, run.searched_again);
        });
      },
      cancel_at);
}

// With the encoder's own finder, which is taken over by the threads when
// asked the `at`-th time (1: at the start, 2: at the first progress step),
// if it is asked that often.
Packing PackTakenOver(const std::vector<std::uint8_t>& data, int at, bool& taken,
                      int cancel_at = -1) {
  int asked = 0;
  taken = false;
  return PackWith(
      data,
      [&](Encoder& encoder, Packing&) {
        encoder.set_take_over([&](std::unique_ptr<MatchFinder>& finder, PackInput& input,
                                  std::uint64_t position) -> std::unique_ptr<MatchesAhead> {
          if (++asked != at) return nullptr;
          taken = true;
          return std::make_unique<MatchesAheadOnThreads>(input, 2, kShortWarmUp, std::move(finder),
                                                         position);
        });
      },
      cancel_at);
}

void ExpectSamePacking(const Packing& ahead, const Packing& one, const std::string& what) {
  EXPECT_EQ(ahead.status, one.status) << what;
  EXPECT_TRUE(ahead.bytes == one.bytes) << what;
  EXPECT_EQ(ahead.record.method, one.record.method) << what;
  EXPECT_EQ(ahead.record.packed_size, one.record.packed_size) << what;
  EXPECT_EQ(ahead.record.unpacked_size, one.record.unpacked_size) << what;
  EXPECT_EQ(ahead.record.crc, one.record.crc) << what;
  // Progress reports the input read at the same steps.
  EXPECT_EQ(ahead.events, one.events) << what;
}

std::vector<std::uint8_t> Concatenated(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Inputs whose trees differ in kind: text of a small vocabulary, noise,
// runs of one byte, a block repeated at the window's distance and beyond,
// a three-letter alphabet, and their mixtures.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Inputs() {
  std::vector<std::uint8_t> three = RandomBytes(200'000, 7);
  for (auto& byte : three)
    byte = static_cast<std::uint8_t>('a' + byte % 3);
  return {
      {"words", Words(300'000, 1)},
      {"zipf text", ZipfText(100'000, 5)},
      {"noise", RandomBytes(150'000, 2)},
      {"runs", Concatenated({std::vector<std::uint8_t>(70'000, 'x'), Words(20'000, 3),
                             std::vector<std::uint8_t>(90'000, 0)})},
      {"block 4095", Repeated(RandomBytes(4095, 4), 30)},
      {"block 4097", Repeated(RandomBytes(4097, 5), 30)},
      {"three letters", three},
      {"mixed", Concatenated({Words(60'000, 6), RandomBytes(30'000, 8), Words(60'000, 6),
                              std::vector<std::uint8_t>(5'000, ' '), Words(80'000, 9)})},
  };
}

TEST(MatchesAheadOnThreads, PacksTheBytesOfOneFinderAtEveryCut) {
  int searched_again = 0;
  int cuts = 0;
  for (const auto& [name, data] : Inputs()) {
    const Packing one = Pack(data);
    for (const MatchesAheadSizes sizes : kCuts) {
      cuts += static_cast<int>((data.size() - 1) / sizes.segment_positions);
      const Packing ahead = Pack(data, 2, sizes);
      ExpectSamePacking(ahead, one, name);
      searched_again += ahead.searched_again;
    }
  }
  // Both ways through a cut were taken.
  EXPECT_GT(searched_again, 0);
  EXPECT_LT(searched_again, cuts);
}

TEST(MatchesAheadOnThreads, AFinderTakenOverAtItsStartOrAnyProgressStepPacksTheSameBytes) {
  for (const auto& [name, data] : Inputs()) {
    const Packing one = Pack(data);
    int asks = 0;
    for (bool taken = true; taken; ++asks) {
      const Packing over = PackTakenOver(data, asks + 1, taken);
      ExpectSamePacking(over, one, name + ", taken over at ask " + std::to_string(asks + 1));
    }
    EXPECT_GT(asks, 2) << name;
  }
}

TEST(MatchesAheadOnThreads, AFinderTakenOverAtTheStartOfShortInputs) {
  // Inputs ending before, at and after the threads' first cut and its
  // look-ahead; none at all is never taken over.
  const std::vector<std::uint8_t> words = Words(60'000, 12);
  for (std::size_t size = 0;
       size < kWindowSize + kMaxMatch + kShortWarmUp.warm_up_positions + 2 * kWindowSize;
       size += 61) {
    const std::vector<std::uint8_t> data(words.begin(),
                                         words.begin() + static_cast<std::ptrdiff_t>(size));
    bool taken = false;
    ExpectSamePacking(PackTakenOver(data, 1, taken), Pack(data), std::to_string(size) + " bytes");
    EXPECT_EQ(taken, size > 0) << size;
  }
}

TEST(MatchesAheadOnThreads, AnyCountOfThreadsGivesTheSameBytes) {
  const std::vector<std::uint8_t> data = Inputs().back().second;
  const Packing one = Pack(data);
  for (int threads = 1; threads <= 4; ++threads)
    ExpectSamePacking(Pack(data, threads), one, std::to_string(threads) + " threads");
}

TEST(MatchesAheadOnThreads, InputsEndingAroundACut) {
  const std::vector<std::uint8_t> words = Words(3 * kSegment, 10);
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, kWindowSize - 1, kWindowSize, kWindowSize + kMaxMatch,
        kSegment - 1, kSegment, kSegment + 1, kSegment + kMaxMatch - 1, kSegment + kMaxMatch,
        kSegment + kMaxMatch + 1, 2 * kSegment + kWindowSize + kMaxMatch, 3 * kSegment}) {
    const std::vector<std::uint8_t> data(words.begin(),
                                         words.begin() + static_cast<std::ptrdiff_t>(size));
    ExpectSamePacking(Pack(data, 2), Pack(data), std::to_string(size) + " bytes");
  }
}

TEST(MatchesAheadOnThreads, ACancelStopsAtTheSameStep) {
  const std::vector<std::uint8_t> data = Words(400'000, 11);
  const Packing one = Pack(data, 0, kShortWarmUp, 10);
  ASSERT_EQ(one.status, Status::kCanceled);
  ExpectSamePacking(Pack(data, 2, kShortWarmUp, 10), one, "cancelled");
  // Asked at the cancelling step, the finder is not taken over.
  bool taken = false;
  ExpectSamePacking(PackTakenOver(data, 11, taken, 10), one, "cancelled at the take-over");
  EXPECT_FALSE(taken);
  ExpectSamePacking(PackTakenOver(data, 10, taken, 10), one, "cancelled after the take-over");
  EXPECT_TRUE(taken);
}

}  // namespace
}  // namespace qv::codec
