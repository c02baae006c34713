#include "codec/match_answers.h"

#include <algorithm>

namespace qv::codec {

AnswerCursor::AnswerCursor(MatchesAhead& source, std::uint32_t& bytes_read)
    : source_(source), bytes_read_(&bytes_read), segment_(source.Next()), offset_(segment_.first) {
  CountRead();
}

void AnswerCursor::NextSegment() {
  if (done_) return;
  AnswerSegment next = source_.Next();
  // Past the input's end the answer is "no match" and the text stays.
  if (next.answers.empty()) {
    done_ = true;
    return;
  }
  segment_ = next;
  index_ = offset_ - segment_.first;
}

// A single finder reads its first 4352 bytes at the start and 4096 more
// each time the position crosses a window.
void AnswerCursor::CountRead() {
  const std::uint64_t read = kWindowSize + kMaxMatch + offset_ / kWindowSize * kWindowSize;
  *bytes_read_ = static_cast<std::uint32_t>(std::min(read, segment_.read_limit));
}

}  // namespace qv::codec
