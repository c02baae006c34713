#include "codec/optimal_compressor.h"

#include <algorithm>
#include <span>

#include "codec/block_cuts.h"
#include "codec/block_plan.h"
#include "codec/crc32.h"

namespace qv::codec {
namespace {

// Parses of a whole segment, each under the costs of the one before, the
// first under those of a greedy parse.
constexpr int kSegmentPasses = 2;
// Parses of each block under its own costs after the cut.
constexpr int kBlockPasses = 2;
// Rounds of cutting the segment's codes into blocks and parsing each block
// again under its own costs; the last round's cuts are the blocks sent.
constexpr int kCutRounds = 2;

}  // namespace

Status OptimalCompressor::Compress(MemberRecord& record, PackInput& input, PackOutput& output) {
  bytes_read_ = 0;
  bytes_packed_ = 0;
  memory_bytes_ = 0;
  if (!heap_.Grants(kWindowSize + kSegmentSize)) return Status::kNoMemory;
  try {
    segment_.assign(kWindowSize + kSegmentSize, 0);
  } catch (const std::bad_alloc&) {
    return Status::kNoMemory;
  }
  writer_.Start(output, bytes_read_);

  // The segment buffer holds the window before the first byte not yet
  // packed, the bytes read but not yet packed, and then the next read.
  std::size_t history = 0;
  std::size_t pending = 0;
  Status status = Status::kOk;
  while (!writer_.incompressible()) {
    if (record.status_word == kStatusWordCancel) {
      status = Status::kCanceled;
      break;
    }
    const std::size_t wanted = kSegmentSize - pending;
    const std::size_t got = input.Read(std::span(segment_).subspan(history + pending, wanted));
    bytes_read_ += static_cast<std::uint32_t>(got);
    const bool input_ended = got < wanted;
    if (pending + got == 0) break;
    const std::uint32_t packed_before = bytes_packed_;
    try {
      PackSegment(record, history, input_ended);
    } catch (const std::bad_alloc&) {
      status = Status::kNoMemory;
      break;
    }
    if (input_ended) break;
    // The window before the first byte not packed becomes the history.
    const std::size_t packed_end = history + (bytes_packed_ - packed_before);
    const std::size_t end = history + pending + got;
    history = std::min(packed_end, kWindowSize);
    pending = end - packed_end;
    std::copy(segment_.begin() + static_cast<std::ptrdiff_t>(packed_end - history),
              segment_.begin() + static_cast<std::ptrdiff_t>(end), segment_.begin());
  }
  if (!writer_.incompressible()) writer_.Finish();
  segment_ = {};
  finder_ = {};
  lists_ = {};
  codes_ = {};
  block_codes_ = {};
  refined_codes_ = {};
  trial_codes_ = {};
  parse_ = {};

  if (status == Status::kNoMemory) return status;
  record.packed_size = writer_.packed_bytes_written();
  if (!incompressible()) record.unpacked_size = bytes_packed_;
  record.crc = ~writer_.crc_register();
  return record.status_word == kStatusWordCancel ? Status::kCanceled : status;
}

void OptimalCompressor::PackSegment(MemberRecord& record, std::size_t begin, bool input_ended) {
  const std::size_t end = begin + (bytes_read_ - bytes_packed_);
  const std::span<const std::uint8_t> data(segment_.data(), end);
  finder_.Find(data, begin, lists_);
  const ParseRange segment{data, lists_, begin, begin, end};
  CheapestParse::Greedy(segment, codes_);
  for (int pass = 0; pass < kSegmentPasses; ++pass) {
    BlockStatistics statistics;
    statistics.Add(codes_);
    parse_.Run(segment, SymbolCosts::From(statistics), codes_);
  }
  std::vector<std::size_t> cuts = StagingCuts(codes_);
  for (int round = 0; savings_.block_cuts && round < kCutRounds; ++round) {
    cuts = ChooseBlockCuts(codes_, savings_.limited_lengths);
    RefineBlocks({data, lists_, begin, begin, end}, cuts);
  }
  NoteMemory();

  for (std::size_t block = 0; block < cuts.size(); ++block) {
    const std::size_t first = cuts[block];
    const std::size_t last = block + 1 < cuts.size() ? cuts[block + 1] : codes_.size();
    const std::span<const LzCode> codes(codes_.data() + first, last - first);
    std::uint32_t bytes = 0;
    for (const LzCode code : codes)
      bytes += code.length();
    // Unless the input has ended, a short last block waits for the next
    // segment, so that the segment's end does not cut a block.
    if (!input_ended && block > 0 && block + 1 == cuts.size() && bytes <= kSegmentSize / 2) return;
    BlockStatistics statistics;
    statistics.Add(codes);
    BlockPlan(statistics, savings_.limited_lengths).Write(codes, writer_);
    // The next bytes belong to a later reading of the input.
    writer_.DrainWholeBytes();
    bytes_packed_ += bytes;
    if (writer_.incompressible()) return;
    if (progress_ != nullptr && *progress_) {
      (*progress_)(record, event::kAddProgress, static_cast<std::int32_t>(bytes_packed_));
    }
    if (record.status_word == kStatusWordCancel) return;
  }
}

void OptimalCompressor::RefineBlocks(const ParseRange& segment, std::vector<std::size_t>& cuts) {
  refined_codes_.clear();
  std::size_t at = segment.begin;
  for (std::size_t block = 0; block < cuts.size(); ++block) {
    const std::size_t first = cuts[block];
    const std::size_t last = block + 1 < cuts.size() ? cuts[block + 1] : codes_.size();
    const std::span<const LzCode> codes(codes_.data() + first, last - first);
    std::size_t bytes = 0;
    for (const LzCode code : codes)
      bytes += code.length();
    RefineBlock({segment.data, segment.lists, segment.origin, at, at + bytes}, codes);
    cuts[block] = refined_codes_.size();
    refined_codes_.insert(refined_codes_.end(), block_codes_.begin(), block_codes_.end());
    at += bytes;
  }
  codes_.swap(refined_codes_);
}

void OptimalCompressor::RefineBlock(const ParseRange& range, std::span<const LzCode> codes) {
  block_codes_.assign(codes.begin(), codes.end());
  BlockStatistics statistics;
  statistics.Add(block_codes_);
  std::uint64_t bits = BlockPlan(statistics, savings_.limited_lengths).bits();
  for (int pass = 0; pass < kBlockPasses; ++pass) {
    parse_.Run(range, SymbolCosts::From(statistics), trial_codes_);
    BlockStatistics trial;
    trial.Add(trial_codes_);
    // The last word on a block's codes is what they cost, header and all.
    const std::uint64_t trial_bits = BlockPlan(trial, savings_.limited_lengths).bits();
    if (trial_bits >= bits || trial.codes > kMaxBlockCodes) break;
    bits = trial_bits;
    statistics = trial;
    block_codes_.swap(trial_codes_);
  }
}

void OptimalCompressor::NoteMemory() {
  memory_bytes_ =
      std::max(memory_bytes_, segment_.capacity() + finder_.memory_bytes() + lists_.memory_bytes() +
                                  parse_.memory_bytes() + codes_.capacity() * sizeof(LzCode) * 4 +
                                  sizeof(*this));
}

}  // namespace qv::codec
