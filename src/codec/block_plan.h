// One block of the optimal encoder: the codes of least cost for its counts,
// the exact size of the block in bits, and the block written out.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/block_statistics.h"
#include "codec/packed_bit_writer.h"
#include "codec/packed_format.h"

namespace qv::codec {

// What the optimal encoder saves beyond its parse. All of it is made; a
// measurement switches parts off in turn to tell what each brings.
struct OptimalSavings {
  bool block_cuts = true;       // else blocks end where the lazy parse's staging buffer fills
  bool limited_lengths = true;  // else lengths come from the lazy parse's Huffman builder
};

class BlockPlan {
 public:
  // The block of the codes counted in `statistics` (1 to 65535 codes),
  // with package-merge's code lengths or, when not `limited_lengths`, those
  // of the lazy parse's Huffman builder.
  explicit BlockPlan(const BlockStatistics& statistics, bool limited_lengths = true);

  // The whole block: header, codes and the distances' extra bits.
  std::uint64_t bits() const { return header_bits_ + code_bits_; }

  // Writes the header, then `codes`, the very codes that were counted.
  void Write(std::span<const LzCode> codes, PackedBitWriter& writer) const;

  // The code lengths chosen (0 for an absent symbol, or for all symbols
  // when the code has a single one).
  std::span<const std::uint8_t> literal_length_lengths() const { return literal_length_lengths_; }
  std::span<const std::uint8_t> distance_lengths() const { return distance_lengths_; }

 private:
  // One code of the literal/length length list: a code-length symbol and
  // the extra bits of a run of zeros.
  struct ListCode {
    std::uint8_t symbol;
    std::uint8_t extra_bits;
    std::uint16_t extra;
  };

  // Fills `lengths`; returns the number of symbols in use.
  int Lengths(std::span<const std::uint32_t> frequencies, std::span<std::uint8_t> lengths) const;
  void PlanLengthList();
  template <class Sink>
  void WriteHeader(Sink& sink) const;

  std::uint32_t codes_ = 0;
  bool limited_lengths_ = true;
  int literal_length_used_ = 0;
  int distance_used_ = 0;
  int code_length_used_ = 0;
  int single_literal_length_ = 0;
  int single_distance_ = 0;
  int single_code_length_ = 0;
  std::array<std::uint8_t, kLiteralLengthSymbols> literal_length_lengths_{};
  std::array<std::uint16_t, kLiteralLengthSymbols> literal_length_codes_{};
  std::array<std::uint8_t, kDistanceClasses> distance_lengths_{};
  std::array<std::uint16_t, kDistanceClasses> distance_codes_{};
  std::array<std::uint8_t, kCodeLengthSymbols> code_length_lengths_{};
  std::array<std::uint16_t, kCodeLengthSymbols> code_length_codes_{};
  std::array<ListCode, kLiteralLengthSymbols> list_{};
  int list_size_ = 0;
  int list_count_ = 0;  // lengths sent: the alphabet less its trailing zeros
  std::uint64_t header_bits_ = 0;
  std::uint64_t code_bits_ = 0;
};

}  // namespace qv::codec
