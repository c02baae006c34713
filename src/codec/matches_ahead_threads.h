// Finding a member's matches ahead of the parse on several threads, with
// the same answers as one finder. It lives in its own library
// (qv_codec_threads) so that a program that never asks for threads, as the
// loader, links none.
//
// The input is cut into segments. Each is searched by a finder of its own
// that starts a warm-up earlier with an empty tree; the tree it has grown
// on reaching the segment mostly answers exactly as the one grown from the
// file's start (at 85 % of the cuts of a mixed corpus), but the recent
// positions that its lazy updates leave behind may differ. The segments are
// taken in order, and each one's starting tree is compared with the tree
// the segment before ended with; when they could answer otherwise, that
// tree searches on into the segment until it has become one of the trees
// the segment's finder kept on its way (4096, 8192, 16384, ... positions
// in), or to the segment's end, so the answers never depend on the cut.
//
// Memory: per segment, its text (segment, warm-up and look-ahead), four
// bytes of answer per position and up to 11 finders' arrays (149,256 bytes
// each): about 7 MB with the default sizes (2.5 MB with segments of 256
// KiB), for up to `threads` + 1 segments at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <vector>

#include "codec/byte_streams.h"
#include "codec/match_answers.h"

namespace qv::codec {

class MatchFinder;

struct MatchesAheadSizes {
  std::size_t segment_positions = std::size_t{1} << 20;
  std::size_t warm_up_positions = std::size_t{32} << 10;
};

// The sizes for an input of `bytes`: below 2 MB, segments of a quarter of
// the default, so that two threads have a few to share rather than one or
// two (at a warm-up's cost per segment); from 2 MB on, the default.
MatchesAheadSizes MatchesAheadSizesFor(std::uint64_t bytes);

// Reads the input from its current position to its end, searching up to
// `threads` segments at once. Both sizes must be whole windows, and the
// warm-up at least one window and at most a segment.
class MatchesAheadOnThreads final : public MatchesAhead {
 public:
  MatchesAheadOnThreads(PackInput& input, int threads, MatchesAheadSizes sizes = {});
  // Takes over the search of `finder`, which stands at input offset
  // `position` and has read the input up to where `input` now stands. It
  // answers on to a window boundary a warm-up beyond what it has read, as
  // the first segment (on the thread that calls Next); the segments from
  // there are searched on the threads.
  MatchesAheadOnThreads(PackInput& input, int threads, MatchesAheadSizes sizes,
                        std::unique_ptr<MatchFinder> finder, std::uint64_t position);
  ~MatchesAheadOnThreads() override;

  AnswerSegment Next() override;

  // How many segments the tree before them searched again (in part).
  int searched_again() const { return searched_again_; }

 private:
  struct Segment;
  struct Running {
    std::unique_ptr<Segment> segment;
    std::future<void> search;
  };

  std::uint64_t HeldEnd() const { return held_first_ + held_.size(); }
  void ReadTo(std::uint64_t end);
  bool Launch();
  void KeepThreadsBusy();

  PackInput& input_;
  std::size_t threads_;
  MatchesAheadSizes sizes_;
  // Input read and not yet handed to every segment that needs it.
  std::vector<std::uint8_t> held_;
  std::uint64_t held_first_ = 0;
  bool input_done_ = false;
  std::uint64_t next_first_ = 0;
  std::deque<Running> running_;
  std::unique_ptr<Segment> current_;
  std::atomic<bool> stop_ = false;
  int searched_again_ = 0;
};

}  // namespace qv::codec
