#include "codec/matches_ahead_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <future>
#include <optional>
#include <vector>

#include "codec/match_finder.h"

namespace qv::codec {

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

  // A tree of the warm-up's finder kept on its way through the segment,
  // after `answered` positions.
  struct Checkpoint {
    std::size_t answered;
    std::unique_ptr<MatchFinder> tree;
  };

  std::uint64_t first = 0;
  std::uint64_t text_first = 0;
  std::uint64_t read_limit = 0;
  std::vector<std::uint8_t> text;
  std::vector<MatchAnswer> answers;
  // The trees at the segment's start (none for the input's first segment)
  // and 4096, 8192, 16384, ... positions in: where the tree of the segment
  // before could answer otherwise at the start, it searches on only until
  // its tree is one of these, which it mostly is soon.
  std::vector<Checkpoint> checkpoints;
  // The tree that answered the last position, with what it reads.
  std::unique_ptr<MatchFinder> finder;
  std::unique_ptr<HeldInput> input;
  std::uint32_t bytes_read = 0;  // the finders' count; the cursor keeps its own

  AnswerSegment View() const { return {first, answers, text_first, text, read_limit}; }

  // Whether the tree of the segment before answers as this segment's start.
  bool StartsFrom(const MatchFinder& before) const {
    return checkpoints.empty() || before.SameAnswersAhead(*checkpoints.front().tree);
  }

  // Answers positions [from, to) with `searcher`, which stands at the one
  // before them; false when asked to stop.
  bool Search(MatchFinder& searcher, std::size_t from, std::size_t to,
              const std::atomic<bool>& stop) {
    // A window at a time between looks at the flag.
    while (from < to) {
      if (stop.load(std::memory_order_relaxed)) return false;
      const std::size_t end = std::min(to, (from / kWindowSize + 1) * kWindowSize);
      searcher.AdvanceAnswering(std::span(answers).subspan(from, end - from));
      from = end;
    }
    return true;
  }

  // Grows a tree from the warm-up and answers on, keeping checkpoints.
  void SearchAhead(const std::atomic<bool>& stop) {
    input = std::make_unique<HeldInput>(text);
    finder = std::make_unique<MatchFinder>();
    finder->MatchFinderStart(*input, bytes_read);
    finder->ClipMatchLength();
    std::size_t answered = 0;
    if (first == 0) {
      if (!answers.empty()) answers[answered++] = finder->answer();
      Search(*finder, answered, answers.size(), stop);
      return;
    }
    finder->AdvanceClipped(static_cast<int>(first - 1 - text_first));
    for (std::size_t next = kWindowSize;; next *= 2) {
      checkpoints.push_back({answered, std::make_unique<MatchFinder>(*finder)});
      const std::size_t to = std::min(next, answers.size());
      if (!Search(*finder, answered, to, stop) || to == answers.size()) return;
      answered = to;
    }
  }

  // Answers every position with `tree`, which stands at the first one, its
  // answer found, and has read the input up to `read_up_to`.
  void AnswerFrom(std::unique_ptr<MatchFinder> tree, std::uint64_t read_up_to,
                  const std::atomic<bool>& stop) {
    input = std::make_unique<HeldInput>(std::span(text).subspan(read_up_to - text_first));
    tree->ContinueWith(*input, bytes_read);
    answers[0] = tree->answer();
    Search(*tree, 1, answers.size(), stop);
    finder = std::move(tree);
  }

  // Answers the positions with the tree of the segment before, which has
  // read the input up to `read_up_to` and reads on in this text, until it
  // is a checkpoint's tree: the answers and the last tree from there on
  // hold.
  void SearchAgain(std::unique_ptr<MatchFinder> before, std::uint64_t read_up_to,
                   const std::atomic<bool>& stop) {
    auto rest = std::make_unique<HeldInput>(std::span(text).subspan(read_up_to - text_first));
    before->ContinueWith(*rest, bytes_read);
    std::size_t answered = 0;
    for (std::size_t next = 1; next < checkpoints.size(); ++next) {
      const Checkpoint& checkpoint = checkpoints[next];
      Search(*before, answered, checkpoint.answered, stop);
      answered = checkpoint.answered;
      if (before->SameAnswersAhead(*checkpoint.tree)) return;
    }
    Search(*before, answered, answers.size(), stop);
    finder = std::move(before);
    input = std::move(rest);
  }
};

MatchesAheadSizes MatchesAheadSizesFor(std::uint64_t bytes) {
  MatchesAheadSizes sizes;
  if (bytes < 2 * sizes.segment_positions) sizes.segment_positions /= 4;
  return sizes;
}

MatchesAheadOnThreads::MatchesAheadOnThreads(PackInput& input, int threads, MatchesAheadSizes sizes)
    : input_(input), threads_(static_cast<std::size_t>(std::max(threads, 1))), sizes_(sizes) {}

MatchesAheadOnThreads::MatchesAheadOnThreads(PackInput& input, int threads, MatchesAheadSizes sizes,
                                             std::unique_ptr<MatchFinder> finder,
                                             std::uint64_t position)
    : MatchesAheadOnThreads(input, threads, sizes) {
  const std::span<const std::uint8_t> read = finder->read_ahead();
  const std::uint64_t read_up_to = position + read.size();
  // The threads' first segment begins a warm-up past what the finder has
  // read, so that its text is all still to be read.
  const std::uint64_t cut =
      (read_up_to + sizes_.warm_up_positions + kWindowSize - 1) / kWindowSize * kWindowSize;
  held_first_ = read_up_to;
  ReadTo(cut + kMaxMatch);
  auto segment = std::make_unique<Segment>();
  segment->first = position;
  segment->text_first = position;
  segment->read_limit = std::min(HeldEnd(), cut + kMaxMatch);
  segment->text.assign(read.begin(), read.end());
  segment->text.insert(
      segment->text.end(), held_.begin(),
      held_.begin() + static_cast<std::ptrdiff_t>(segment->read_limit - read_up_to));
  segment->answers.resize(std::min(cut, HeldEnd()) - position);
  next_first_ = cut;
  Segment& taken = *segment;
  running_.push_back({std::move(segment),
                      std::async(std::launch::deferred,
                                 [&taken, this, finder = std::move(finder), read_up_to]() mutable {
                                   taken.AnswerFrom(std::move(finder), read_up_to, stop_);
                                 })});
}

// The searches still running stop early; they are waited for before the
// flag they watch goes.
MatchesAheadOnThreads::~MatchesAheadOnThreads() {
  stop_ = true;
  for (Running& running : running_) {
    if (running.search.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) {
      running.search.wait();
    }
  }
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
  // When no thread can be had, the search runs at the first wait for it.
  running_.push_back({std::move(segment), std::async(std::launch::async | std::launch::deferred,
                                                     [&cut, this] { cut.SearchAhead(stop_); })});
  return true;
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
  // A warm-up that grew a tree which could answer otherwise: the tree the
  // segment before ended with searches it instead.
  if (current_ != nullptr && !segment.StartsFrom(*current_->finder)) {
    segment.SearchAgain(std::move(current_->finder), current_->read_limit, stop_);
    ++searched_again_;
  }
  segment.checkpoints.clear();
  current_ = std::move(next.segment);
  KeepThreadsBusy();
  return current_->View();
}

}  // namespace qv::codec
