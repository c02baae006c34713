// The encoder: packs one file as one archive member, compressed into the
// packed stream or stored unchanged, and fills the member record's sizes, CRC
// and method. Files on the store list are stored without an attempt; any
// other file is compressed, and stored after all (input read again from its
// start, output rewritten from the member's start) as soon as its packed
// bytes would reach the input bytes read so far.
//
// Memory per member: the match finder's arrays (149,256 bytes) and a staging
// buffer of 16,384 bytes, both taken when compression starts and given back
// when it ends; nothing is taken per block or per code. When the heap
// refuses the staging buffer, smaller ones are tried, each nine tenths of
// the one before, down to kMinStagingSize bytes; below that the member fails
// with "Memory allocation error".
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "codec/block_coder.h"
#include "codec/byte_streams.h"
#include "codec/events.h"
#include "codec/heap.h"
#include "codec/match_answers.h"
#include "codec/match_finder.h"
#include "codec/member_record.h"
#include "codec/optimal_compressor.h"
#include "codec/status.h"

namespace qv::codec {

class Encoder {
 public:
  static constexpr std::size_t kStagingSize = 16'384;
  // Room for some hundred codes per block; a tinier buffer would mostly hold
  // block headers.
  static constexpr std::size_t kMinStagingSize = 256;

  // `progress` points at the owner's progress callback slot (may be empty,
  // or null for none); `heap` supplies the working memory.
  explicit Encoder(const ProgressCallback* progress = nullptr, const Heap& heap = ProcessHeap())
      : progress_(progress), heap_(heap) {}

  // Packs the input file as one member at the output's current position.
  // `replacing` marks a member that replaces one already in the archive
  // (event 4 instead of 1); it is cleared on success. Fills modification
  // time, mode, ids, sizes, CRC and method from the file; clears the
  // encrypted flag. Returns kOk (event 6), or:
  // - kCannotOpen when either stream is missing (no event);
  // - kReadError when the file's status cannot be had or it cannot be read
  //   again from its start, kWriteError when the output cannot go back to
  //   the member's start (event with the status);
  // - kNoMemory (event -3), the output back at the member's start when it
  //   was storing;
  // - kCanceled when the status word was set to 30 (event -30); the output
  //   stays where the cancelled member ended;
  // - kDiskFull when, on a drive that is not removable, the output ended
  //   short of the member's end (event -31 with the drive number); the
  //   output is back at the member's start.
  Status PackMember(MemberRecord& record, PackInput* input, PackOutput* output, bool& replacing);

  // Compresses the input from its current position. Sets packed size, CRC
  // and, unless the member turned out incompressible, unpacked size.
  // Returns kOk (see incompressible()), kNoMemory or kCanceled.
  Status CompressMember(MemberRecord& record, PackInput& input, PackOutput& output);

  // Copies the input's bytes unchanged, as many as the record's unpacked
  // size, or fewer when the file ends first (the sizes then say what was
  // copied). Stops early when the status word is 30 and still returns kOk.
  // Returns kNoMemory (event -3) when no copy buffer can be had.
  Status StoreMember(MemberRecord& record, PackInput& input, PackOutput& output);

  // Compresses with the optimal parse (slower, smaller) instead of the lazy
  // one, whose streams stay the default.
  void set_optimal_parse(bool on) { optimal_parse_ = on; }
  bool optimal_parse() const { return optimal_parse_; }

  // Where the lazy parse takes its matches from: answers found ahead on
  // other threads (the same packed bytes), made for each member from its
  // input; or, when empty as it starts, one match finder in step with the
  // parse.
  using MatchesAheadMaker = std::function<std::unique_ptr<MatchesAhead>(PackInput&)>;
  void set_matches_ahead(MatchesAheadMaker maker) { matches_ahead_ = std::move(maker); }
  const MatchesAheadMaker& matches_ahead() const { return matches_ahead_; }

  // Asked as the encoder's own finder begins and at every progress step:
  // answers that take the finder over, at input offset `position`, and
  // find the rest of the member's matches on other threads (the same
  // packed bytes); or null to go on alone.
  using TakeOver = std::function<std::unique_ptr<MatchesAhead>(
      std::unique_ptr<MatchFinder>& finder, PackInput& input, std::uint64_t position)>;
  void set_take_over(TakeOver take_over) { take_over_ = std::move(take_over); }

  // Whether the last compression was abandoned as incompressible.
  bool incompressible() const {
    return optimal_parse_ ? optimal_.incompressible() : coder_.incompressible();
  }

 private:
  bool CallbackInstalled() const { return progress_ != nullptr && *progress_; }
  void Raise(MemberRecord& record, std::int32_t event, std::int32_t value) const;
  Status Fail(MemberRecord& record, Status status) const;
  bool TakeStagingBuffer();

  const ProgressCallback* progress_;
  const Heap& heap_;
  std::unique_ptr<MatchFinder> match_finder_;
  std::vector<std::uint8_t> staging_;
  BlockCoder coder_;
  std::uint32_t bytes_read_ = 0;
  bool optimal_parse_ = false;
  MatchesAheadMaker matches_ahead_;
  TakeOver take_over_;
  OptimalCompressor optimal_{progress_, heap_};
};

}  // namespace qv::codec
