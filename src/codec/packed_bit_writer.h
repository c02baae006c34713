// The encoder's bit writer: fields most significant bit first, whole bytes
// out to the archive through a small buffer, each byte folded into the
// member's CRC. A byte is written only while the packed bytes written stay
// below the input bytes read; the first byte that would reach them marks the
// member incompressible and is dropped, and so is everything after it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "codec/big_endian_word.h"
#include "codec/byte_streams.h"

namespace qv::codec {

class PackedBitWriter {
 public:
  // Starts a member's stream. `bytes_read` is the count of input bytes read
  // so far; it must outlive the member.
  void Start(PackOutput& output, const std::uint32_t& bytes_read);

  // Writes `value` (below 2^bits) in `bits` bits, 0 to 32.
  void Put(std::uint32_t value, int bits) {
    pending_ = pending_ << bits | value;
    pending_bits_ += bits;
    if (pending_bits_ >= 32) PassWord();
  }
  // Passes on every whole byte now, judged against the input read so far.
  void DrainWholeBytes();

  // A run of codes written through a copy of the writer's state, whole
  // bytes passed on after each code, as DrainWholeBytes would pass them.
  // While HasRoom, the buffer and the input read have room for eight more
  // bytes, so they go out without a test; else Resume passes them one by
  // one, judged as ever, and starts a new run.
  struct Run {
    std::uint64_t pending;
    unsigned pending_bits;  // at most 7 between codes; a code adds up to 57
    std::uint8_t* buffer;
    std::ptrdiff_t at;
    std::ptrdiff_t last;

    bool HasRoom() const { return at <= last; }
    void Append(std::uint64_t value, unsigned bits) {
      pending = pending << bits | value;
      pending_bits += bits;
    }
    // The pending bits at the top of a word, stored most significant byte
    // first; the bytes past the whole ones are written over later.
    void PassWholeBytes() {
      StoreBigEndianWord(pending << (63 - pending_bits) << 1, buffer + at);
      at += pending_bits / 8;
      pending_bits %= 8;
    }
  };
  // Passes on the whole bytes pending and starts a run. Runs go by value,
  // so that a caller keeps their state in registers.
  Run BeginRun();
  void EndRun(Run run);
  // Ends the run, passes its whole bytes on and starts another.
  Run Resume(Run run) {
    EndRun(run);
    return BeginRun();
  }

  // Completes the last byte with zero bits and writes out what is buffered.
  void Finish();

  bool incompressible() const { return incompressible_; }
  std::uint32_t packed_bytes_written() const { return written_; }
  std::uint32_t crc_register() const { return crc_; }

 private:
  // Passes on the oldest 32 pending bits.
  void PassWord();
  void PassByte(std::uint8_t byte);
  void Flush();

  PackOutput* output_ = nullptr;
  const std::uint32_t* bytes_read_ = nullptr;
  std::uint64_t pending_ = 0;  // the low pending_bits_ bits are the stream's
  int pending_bits_ = 0;
  std::array<std::uint8_t, 4096> buffer_{};
  std::size_t buffered_ = 0;
  std::uint32_t written_ = 0;
  std::uint32_t crc_ = 0;
  bool incompressible_ = false;
};

}  // namespace qv::codec
