// The decoder of compressed members: it expands one member's packed stream,
// chunk by chunk, into the caller's 4096-byte window buffer, and folds every
// packed byte it takes into the member's CRC register. It decodes into a
// text buffer of its own, the 4096 bytes before the chunk (or more) followed
// by the chunk, where every match source lies behind its copy in one straight run:
// matches are copied by whole words, and one that runs past the chunk's end
// goes on into the bytes of the next chunk.
//
// Damaged or hostile packed data. A stream this codec writes never holds a
// code count of 0, a length count above its alphabet, a single symbol outside
// its alphabet, a code length above 16, a zero run past the end of the
// alphabet, a length list that over- or under-fills its code space, or a
// match that reaches before the member's first byte. When the decoder meets
// any of these it stops: DecodeChunk fills the rest of the chunk with zeros
// and returns Status::kCrcError, and so does every later call for the
// member. The caller fails the member exactly as on a CRC mismatch (event -7,
// "CRC32 error"): both say that the packed bytes are not what the encoder
// wrote. The decoder never reads or writes outside its tables, its text
// buffer and the window, and every chunk ends, whatever the bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/byte_streams.h"
#include "codec/decode_table.h"
#include "codec/events.h"
#include "codec/member_record.h"
#include "codec/packed_bit_reader.h"
#include "codec/packed_format.h"
#include "codec/status.h"

namespace qv::codec {

class Decoder {
 public:
  using Window = std::span<std::uint8_t, kWindowSize>;

  // `progress` points at the owner's progress callback slot (may be empty,
  // or null for none); it is looked at on every chunk.
  explicit Decoder(const ProgressCallback* progress = nullptr) : progress_(progress) {}

  // Prepares one member whose `packed_size` packed bytes begin at the
  // source's current position; the CRC register starts at all ones. The
  // decoder may read ahead from the source, never beyond the packed size.
  void DecodeStart(PackedSource& source, std::uint32_t packed_size);

  // Produces the member's next `count` bytes (1 to 4096) at window[0, count).
  // The window is the same buffer for every chunk of the member, and every
  // chunk but the last has 4096 bytes. Raises event 3 first (value: bytes
  // produced before this call). Returns kOk, kBadArgument for a count out of
  // range, or kCrcError for a damaged stream (see above).
  Status DecodeChunk(MemberRecord& record, std::size_t count, Window window);

  // The complemented CRC-32 of the packed bytes taken so far: after the last
  // chunk of a valid member, of all its packed bytes.
  std::uint32_t PackedCrc() { return ~reader_.CrcRegister(); }

 private:
  // Room behind the chunk in the text buffer: two literals and a match that
  // begin in the chunk's last byte, and the words a copy writes past its end.
  static constexpr std::size_t kSlack = kMaxMatch + 32;
  // Fetched bytes the fast loop wants ahead: two word refills, each moving
  // on at most seven bytes.
  static constexpr std::ptrdiff_t kFastInputBytes = PackedBitReader::kAhead;

  bool Produce(std::size_t count);
  // The fast loop in the build that suits this processor, and its builds:
  // the plain one and, in x86-64 builds only, one for processors with BMI2.
  template <bool kNearStart>
  bool DecodeFastHere(std::uint8_t* out, std::size_t& at, std::size_t count, BitCursor& in,
                      std::uint32_t& codes_left) const;
  template <bool kNearStart>
  bool DecodeFast(std::uint8_t* out, std::size_t& at, std::size_t count, BitCursor& in,
                  std::uint32_t& codes_left) const;
  template <bool kNearStart>
  bool DecodeFastBmi2(std::uint8_t* out, std::size_t& at, std::size_t count, BitCursor& in,
                      std::uint32_t& codes_left) const;
  unsigned TakeLiteralLengthEntry(unsigned direct, LooseBitCursor& in) const;
  unsigned NextLiteralLengthEntry(LooseBitCursor& in) const;
  bool StartBlock();
  template <class Table>
  bool ReadSmallList(int count_bits, bool zero_run_field, Table& table);
  bool ReadLongList();
  bool ReadLongList(BitCursor& in);

  const ProgressCallback* progress_;
  PackedBitReader reader_;
  LiteralLengthTable literal_length_;
  CodeLengthTable code_lengths_;
  DistanceTable distances_;
  std::uint32_t block_codes_left_ = 0;
  std::uint64_t produced_ = 0;  // bytes of the member before this chunk
  // Chunks decoded one after another into the text buffer before its last
  // 4096 bytes are moved back to its start: moving them after every chunk
  // would copy every byte once more.
  static constexpr std::size_t kChunksPerSlide = 4;

  // The member's last 4096 bytes (or more) before the chunk, then the chunk
  // (from chunk_at_ on), of which the first ahead_ bytes were decoded with
  // the end of a match that began in the chunk before.
  std::array<std::uint8_t, (1 + kChunksPerSlide) * kWindowSize + kSlack> text_{};
  std::size_t chunk_at_ = kWindowSize;
  std::size_t ahead_ = 0;
  bool corrupt_ = false;
};

}  // namespace qv::codec
