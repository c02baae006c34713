// The encoder's parse: one step of lazy evaluation over the match finder's
// answers, read from the finder itself or from answers found ahead (both
// offer the same calls).
#pragma once

#include <cstdint>

#include "codec/block_coder.h"
#include "codec/member_record.h"
#include "codec/packed_format.h"

namespace qv::codec {

// Progress during compression is reported every this many parse steps.
inline constexpr int kProgressSteps = 2048;

// A match is taken only when the match one position later is not longer;
// otherwise a literal goes out and the search looks again. Runs until the
// input is done, the member proves incompressible or the status word asks
// to cancel; `progress()` is called every kProgressSteps steps, and when it
// returns false the parse returns false at once, the step it was called at
// still to be made: a parse `resuming` from there with other matches (at
// the same position) makes that step first and counts on from it.
template <class Matches, class Progress>
bool LazyParse(Matches& matches, BlockCoder& coder, const MemberRecord& record, Progress&& progress,
               bool resuming = false) {
  matches.ClipMatchLength();
  // The step stopped at was already counted as a progress step.
  int steps = resuming ? -1 : 0;
  while (record.status_word != kStatusWordCancel && matches.remaining() > 0 &&
         !coder.incompressible()) {
    if (++steps == kProgressSteps) {
      steps = 0;
      if (!progress()) return false;
    }
    const int previous_length = matches.match_length();
    const unsigned previous_distance = matches.distance_code();
    matches.MatchFinderAdvance();
    matches.ClipMatchLength();
    if (matches.match_length() > previous_length || previous_length < static_cast<int>(kMinMatch)) {
      coder.StageLiteral(matches.byte_before_position());
      continue;
    }
    // The match began one position back.
    coder.StageMatch(static_cast<unsigned>(previous_length), previous_distance);
    matches.AdvanceClipped(previous_length - 1);
  }
  return true;
}

}  // namespace qv::codec
