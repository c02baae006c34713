// The slower, smaller way to compress a member: every match the window
// holds is listed, the cheapest parse under a model of the symbols' costs is
// found and found again with the costs of the parse before, the codes are
// cut into blocks where the statistics change, and each block is parsed
// again for its own statistics and sent with the code lengths of least cost.
// The stream is the same format as the lazy parse writes; the same bit
// writer stops it when its packed bytes would reach the input read.
//
// The input is taken a segment at a time (kSegmentSize bytes, behind the
// last window before it; a short last block of a segment is parsed again
// with the next one). Memory per member: the segment, its match
// lists (4 bytes per match step, a few steps per position), the parse's
// 12 bytes per position and the codes; about 12 MB for a full segment of
// text, reported by memory_bytes().
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/block_plan.h"
#include "codec/block_statistics.h"
#include "codec/byte_streams.h"
#include "codec/cheapest_parse.h"
#include "codec/events.h"
#include "codec/heap.h"
#include "codec/match_lists.h"
#include "codec/member_record.h"
#include "codec/packed_bit_writer.h"
#include "codec/status.h"

namespace qv::codec {

class OptimalCompressor {
 public:
  static constexpr std::size_t kSegmentSize = 256 * 1024;

  explicit OptimalCompressor(const ProgressCallback* progress = nullptr,
                             const Heap& heap = ProcessHeap())
      : progress_(progress), heap_(heap) {}

  // Compresses the input from its current position, as the encoder's
  // CompressMember does: sets packed size, CRC and, unless the member
  // turned out incompressible, unpacked size. Returns kOk, kNoMemory or
  // kCanceled (the stream then ends after the last whole block).
  Status Compress(MemberRecord& record, PackInput& input, PackOutput& output);

  // Switches savings off, to measure what each brings.
  void set_savings(OptimalSavings savings) { savings_ = savings; }

  // Whether the last member was abandoned as incompressible (an empty one
  // is too: it has no stream).
  bool incompressible() const { return writer_.incompressible() || bytes_read_ == 0; }

  // The most memory the last member took.
  std::size_t memory_bytes() const { return memory_bytes_; }

 private:
  // Parses and writes the segment's positions from `begin` on; all of them
  // when `input_ended`, else all but a short last block.
  void PackSegment(MemberRecord& record, std::size_t begin, bool input_ended);
  // Parses each block of the segment again under its own costs; `cuts`
  // follow the codes as they change.
  void RefineBlocks(const ParseRange& segment, std::vector<std::size_t>& cuts);
  // Leaves in block_codes_ the cheapest of the block's parses.
  void RefineBlock(const ParseRange& range, std::span<const LzCode> codes);
  void NoteMemory();

  const ProgressCallback* progress_;
  const Heap& heap_;
  OptimalSavings savings_;
  PackedBitWriter writer_;
  std::uint32_t bytes_read_ = 0;
  std::uint32_t bytes_packed_ = 0;
  std::size_t memory_bytes_ = 0;

  std::vector<std::uint8_t> segment_;
  TreeMatchFinder finder_;
  MatchLists lists_;
  CheapestParse parse_;
  std::vector<LzCode> codes_;
  std::vector<LzCode> refined_codes_;
  std::vector<LzCode> block_codes_;
  std::vector<LzCode> trial_codes_;
};

}  // namespace qv::codec
