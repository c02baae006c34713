// The encoder's block coder. The parse stages its literals and matches in a
// compact form (a flag byte per group of eight codes, one byte per literal,
// three per match) and counts their symbols; when the staging buffer is full,
// and at the end, the block is emitted: Huffman codes built from the counts,
// sent as length lists, then the staged codes.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/byte_streams.h"
#include "codec/huffman_code.h"
#include "codec/packed_bit_writer.h"
#include "codec/packed_format.h"

namespace qv::codec {

class BlockCoder {
 public:
  // The most a group of eight codes takes: its flag byte and eight matches.
  static constexpr std::size_t kGroupBytes = 25;

  // Starts a member's stream over `staging` (at least kGroupBytes bytes).
  // `bytes_read` counts the input read so far and bounds the packed bytes.
  void Start(std::span<std::uint8_t> staging, PackOutput& output, const std::uint32_t& bytes_read);

  void StageLiteral(std::uint8_t byte) {
    if (!NextCode()) return;
    staging_[fill_++] = byte;
    ++literal_length_frequencies_[byte];
  }
  // `length` 3 to 256, `distance_value` (distance - 1) 0 to 4095.
  void StageMatch(unsigned length, unsigned distance_value) {
    if (!NextCode()) return;
    // The place taken once: each store into the buffer may alias fill_.
    std::uint8_t* const at = staging_.data() + fill_;
    fill_ += 3;
    staging_[flag_position_] |= static_cast<std::uint8_t>(flag_mask_);
    at[0] = static_cast<std::uint8_t>(length - kMinMatch);
    at[1] = static_cast<std::uint8_t>(distance_value >> 8);
    at[2] = static_cast<std::uint8_t>(distance_value);
    ++literal_length_frequencies_[length + kMatchSymbolBias];
    ++distance_frequencies_[DistanceClass(distance_value)];
  }
  // Emits the last block and completes the last byte with zero bits, unless
  // the member has turned out incompressible; writes out what is buffered.
  void Finish();

  bool incompressible() const { return writer_.incompressible(); }
  std::uint32_t packed_bytes_written() const { return writer_.packed_bytes_written(); }
  std::uint32_t crc_register() const { return writer_.crc_register(); }

 private:
  // Moves to the next code's place, starting a group (and emitting the
  // block when the buffer is full) every eighth code; false once the member
  // has turned out incompressible.
  bool NextCode() {
    flag_mask_ >>= 1;
    return flag_mask_ != 0 || StartGroup();
  }
  bool StartGroup();
  void EmitBlock();
  bool WriteStagedCodes(unsigned codes);
  void WriteSmallList(int count_bits, int symbols, bool zero_run_field);
  // Calls visit(code-length symbol, extra value, extra bits) for each code of
  // the literal/length length list, with its runs of zeros.
  template <class Visit>
  void WalkLongList(Visit visit) const;

  std::span<std::uint8_t> staging_;
  std::size_t fill_ = 0;
  std::size_t flag_position_ = 0;
  unsigned flag_mask_ = 0;

  // Each frequency array has room for its tree's internal nodes.
  std::array<std::uint16_t, 2 * kLiteralLengthSymbols - 1> literal_length_frequencies_{};
  std::array<std::uint16_t, 2 * kCodeLengthSymbols - 1> code_length_frequencies_{};
  std::array<std::uint16_t, 2 * kDistanceClasses - 1> distance_frequencies_{};
  std::array<std::uint8_t, kLiteralLengthSymbols> literal_length_lengths_{};
  std::array<std::uint16_t, kLiteralLengthSymbols> literal_length_codes_{};
  // The code-length code, then the distance code once the lists are written.
  std::array<std::uint8_t, kCodeLengthSymbols> small_lengths_{};
  std::array<std::uint16_t, kCodeLengthSymbols> small_codes_{};

  HuffmanCodeBuilder builder_;
  PackedBitWriter writer_;
};

}  // namespace qv::codec
