#include "codec/matches_ahead_threads.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <future>
#include <optional>
#include <vector>

#include "codec/match_finder.h"

namespace qv::codec {

namespace {

void Step(MatchFinder& finder) {
  finder.MatchFinderAdvance();
  finder.ClipMatchLength();
}

MatchAnswer Answer(const MatchFinder& finder) {
  return MakeMatchAnswer(finder.match_length(), finder.distance_code());
}

}  // namespace

struct MatchesAheadOnThreads::Segment {
  // Input bytes already in memory, read as the rest of the file.
  class HeldInput final : public PackInput {
   public:
    explicit HeldInput(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override {
      const std::size_t count = std::min(buffer.size(), bytes_.size() - at_);
      if (count > 0) std::memcpy(buffer.data(), bytes_.data() + at_, count);
      at_ += count;
      return count;
    }
    bool Rewind() override {
      at_ = 0;
      return true;
    }
    std::optional<FileStatus> ReadStatus() override { return std::nullopt; }

   private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
  };

  std::uint64_t first = 0;
  std::uint64_t text_first = 0;
  std::uint64_t read_limit = 0;
  std::vector<std::uint8_t> text;
  std::vector<MatchAnswer> answers;
  // The tree at the position before the segment, grown from the warm-up
  // (none for the input's first segment), and the one that answered its
  // last position, with what it reads.
  std::unique_ptr<MatchFinder> start;
  std::unique_ptr<MatchFinder> finder;
  std::unique_ptr<HeldInput> input;
  std::uint32_t bytes_read = 0;  // the finder's count; the cursor keeps its own

  AnswerSegment View() const { return {first, answers, text_first, text, read_limit}; }

  // Answers the positions with `searcher`, which stands at the one before
  // them, or at the input's first position for the first segment.
  void Search(MatchFinder& searcher, const std::atomic<bool>& stop) {
    std::size_t i = 0;
    if (first == 0 && !answers.empty()) answers[i++] = Answer(searcher);
    for (; i < answers.size(); ++i) {
      if (i % kWindowSize == 0 && stop.load(std::memory_order_relaxed)) return;
      Step(searcher);
      answers[i] = Answer(searcher);
    }
  }

  // Answers the positions with the tree of the segment before, which has
  // read the input up to `read_up_to` and reads on in this text.
  void SearchOn(std::unique_ptr<MatchFinder> before, std::uint64_t read_up_to,
                const std::atomic<bool>& stop) {
    input = std::make_unique<HeldInput>(std::span(text).subspan(read_up_to - text_first));
    finder = std::move(before);
    finder->ContinueWith(*input, bytes_read);
    Search(*finder, stop);
  }

  // Grows a tree from the warm-up, keeps it, and answers on.
  void SearchAhead(const std::atomic<bool>& stop) {
    input = std::make_unique<HeldInput>(text);
    finder = std::make_unique<MatchFinder>();
    finder->MatchFinderStart(*input, bytes_read);
    finder->ClipMatchLength();
    if (first > 0) {
      for (std::uint64_t at = text_first; at + 1 < first; ++at)
        Step(*finder);
      start = std::make_unique<MatchFinder>(*finder);
    }
    Search(*finder, stop);
  }
};

MatchesAheadOnThreads::MatchesAheadOnThreads(PackInput& input, int threads, MatchesAheadSizes sizes)
    : input_(input), threads_(static_cast<std::size_t>(std::max(threads, 1))), sizes_(sizes) {}

// The searches still running stop early; they are waited for before the
// flag they watch goes.
MatchesAheadOnThreads::~MatchesAheadOnThreads() {
  stop_ = true;
  for (Running& running : running_)
    running.search.wait();
}

void MatchesAheadOnThreads::ReadTo(std::uint64_t end) {
  if (input_done_ || HeldEnd() >= end) return;
  const std::size_t had = held_.size();
  const auto wanted = static_cast<std::size_t>(end - HeldEnd());
  held_.resize(had + wanted);
  const std::size_t got = input_.Read(std::span(held_.data() + had, wanted));
  held_.resize(had + got);
  input_done_ = got < wanted;
}

// Cuts the next segment from the input and starts its search; false when
// the input is done.
bool MatchesAheadOnThreads::Launch() {
  const std::uint64_t first = next_first_;
  ReadTo(first + sizes_.segment_positions + kMaxMatch);
  if (first >= HeldEnd() && first > 0) return false;
  auto segment = std::make_unique<Segment>();
  segment->first = first;
  segment->text_first = first == 0 ? 0 : first - sizes_.warm_up_positions;
  segment->read_limit = std::min(HeldEnd(), first + sizes_.segment_positions + kMaxMatch);
  const auto from = held_.begin() + static_cast<std::ptrdiff_t>(segment->text_first - held_first_);
  segment->text.assign(
      from, from + static_cast<std::ptrdiff_t>(segment->read_limit - segment->text_first));
  segment->answers.resize(std::min<std::uint64_t>(sizes_.segment_positions, HeldEnd() - first));
  next_first_ = first + sizes_.segment_positions;
  // The next segment's warm-up is the oldest input still needed.
  const std::uint64_t keep = std::min(next_first_ - sizes_.warm_up_positions, HeldEnd());
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(keep - held_first_));
  held_first_ = keep;
  Segment& cut = *segment;
  running_.push_back({std::move(segment),
                      std::async(std::launch::async, [&cut, this] { cut.SearchAhead(stop_); })});
  return true;
}

// The segment's warm-up grew a tree that may answer otherwise: the tree the
// segment before ended with searches it instead.
void MatchesAheadOnThreads::SearchAgain(Segment& segment) {
  segment.SearchOn(std::move(current_->finder), current_->read_limit, stop_);
  ++searched_again_;
}

void MatchesAheadOnThreads::KeepThreadsBusy() {
  while (running_.size() < threads_ && Launch()) {
  }
}

AnswerSegment MatchesAheadOnThreads::Next() {
  KeepThreadsBusy();
  if (running_.empty()) return {};
  Running next = std::move(running_.front());
  running_.pop_front();
  next.search.get();
  Segment& segment = *next.segment;
  if (segment.start != nullptr && !current_->finder->SameAnswersAhead(*segment.start)) {
    SearchAgain(segment);
  }
  segment.start.reset();
  current_ = std::move(next.segment);
  KeepThreadsBusy();
  return current_->View();
}

}  // namespace qv::codec
