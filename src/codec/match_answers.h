// The match finder's answers found ahead of the parse, on other threads, and
// the cursor through which the encoder's parse reads them as it would read
// the finder itself.
//
// The finder's answer at each position depends only on the input (the parse
// clips every answer the same way), so a member's answers can be found in
// segments, each by its own finder, and read back in order.
#pragma once

#include <cstdint>
#include <span>

#include "codec/packed_format.h"

namespace qv::codec {

// One position's answer: the match length (0 when below 3, which is never a
// usable match) and its distance less one.
using MatchAnswer = std::uint32_t;
inline constexpr int kAnswerDistanceBits = 12;

constexpr MatchAnswer MakeMatchAnswer(int length, unsigned distance_code) {
  return length < static_cast<int>(kMinMatch)
             ? 0
             : static_cast<MatchAnswer>(length) << kAnswerDistanceBits | distance_code;
}

// The answers for consecutive positions of the input, with the text around
// them.
struct AnswerSegment {
  std::uint64_t first = 0;  // the input offset of answers[0]
  std::span<const MatchAnswer> answers;
  std::uint64_t text_first = 0;  // the input offset of text[0]
  std::span<const std::uint8_t> text;
  // The input offset a single finder would have read up to, at most, by
  // the segment's last position: the end of the input when it is nearer.
  std::uint64_t read_limit = 0;
};

// Hands out a member's answers segment by segment, in order.
class MatchesAhead {
 public:
  virtual ~MatchesAhead() = default;
  // The next segment; an empty one once the input is done. The one before
  // stays readable until this is called again.
  virtual AnswerSegment Next() = 0;
};

// Reads answers as the parse reads the match finder: the same calls, the
// same results, and the same count of input bytes read at each position.
// It starts at the first segment's first position.
class AnswerCursor {
 public:
  AnswerCursor(MatchesAhead& source, std::uint32_t& bytes_read);

  void MatchFinderAdvance() { AdvanceClipped(1); }
  // Jumps over `count` positions at once: the parse reads no answer inside
  // a match.
  void AdvanceClipped(int count) {
    const std::uint64_t window = offset_ / kWindowSize;
    offset_ += static_cast<unsigned>(count);
    index_ += static_cast<unsigned>(count);
    if (index_ >= segment_.answers.size()) NextSegment();
    if (offset_ / kWindowSize != window) CountRead();
  }
  // Answers come clipped.
  void ClipMatchLength() {}

  int match_length() const { return static_cast<int>(answer() >> kAnswerDistanceBits); }
  unsigned distance_code() const { return answer() & kWindowMask; }
  std::uint8_t byte_before_position() const {
    return segment_.text[offset_ - 1 - segment_.text_first];
  }
  int remaining() const { return static_cast<int>(*bytes_read_ - offset_); }

 private:
  MatchAnswer answer() const {
    return index_ < segment_.answers.size() ? segment_.answers[index_] : 0;
  }
  void NextSegment();
  void CountRead();

  MatchesAhead& source_;
  std::uint32_t* bytes_read_;
  AnswerSegment segment_;
  std::size_t index_ = 0;
  std::uint64_t offset_ = 0;
  bool done_ = false;  // the source has handed out its last segment
};

}  // namespace qv::codec
