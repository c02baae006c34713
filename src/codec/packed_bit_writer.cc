#include "codec/packed_bit_writer.h"

#include <algorithm>
#include <span>

#include "codec/crc32.h"

namespace qv::codec {

void PackedBitWriter::Start(PackOutput& output, const std::uint32_t& bytes_read) {
  output_ = &output;
  bytes_read_ = &bytes_read;
  pending_ = 0;
  pending_bits_ = 0;
  buffered_ = 0;
  written_ = 0;
  crc_ = kCrcPreset;
  incompressible_ = false;
}

void PackedBitWriter::PassWord() {
  pending_bits_ -= 32;
  const auto word = static_cast<std::uint32_t>(pending_ >> pending_bits_);
  // Four bytes that all stay below the input read go out at once.
  if (!incompressible_ && *bytes_read_ - written_ >= 4 && buffer_.size() - buffered_ >= 4) {
    std::uint8_t* const at = buffer_.data() + buffered_;
    at[0] = static_cast<std::uint8_t>(word >> 24);
    at[1] = static_cast<std::uint8_t>(word >> 16);
    at[2] = static_cast<std::uint8_t>(word >> 8);
    at[3] = static_cast<std::uint8_t>(word);
    buffered_ += 4;
    written_ += 4;
    if (buffered_ == buffer_.size()) Flush();
    return;
  }
  for (int shift = 24; shift >= 0; shift -= 8)
    PassByte(static_cast<std::uint8_t>(word >> shift));
}

void PackedBitWriter::DrainWholeBytes() {
  for (; pending_bits_ >= 8; pending_bits_ -= 8)
    PassByte(static_cast<std::uint8_t>(pending_ >> (pending_bits_ - 8)));
}

PackedBitWriter::Run PackedBitWriter::BeginRun() {
  DrainWholeBytes();
  const std::size_t room =
      incompressible_ ? 0
                      : std::min<std::size_t>(buffer_.size() - buffered_, *bytes_read_ - written_);
  const auto at = static_cast<std::ptrdiff_t>(buffered_);
  return {pending_, static_cast<unsigned>(pending_bits_), buffer_.data(), at,
          at + static_cast<std::ptrdiff_t>(room) - 8};
}

void PackedBitWriter::EndRun(Run run) {
  const auto passed = static_cast<std::size_t>(run.at) - buffered_;
  buffered_ += passed;
  written_ += static_cast<std::uint32_t>(passed);
  pending_ = run.pending;
  pending_bits_ = static_cast<int>(run.pending_bits);
}

void PackedBitWriter::PassByte(std::uint8_t byte) {
  if (incompressible_) return;
  if (written_ >= *bytes_read_) {
    incompressible_ = true;
    return;
  }
  buffer_[buffered_++] = byte;
  ++written_;
  if (buffered_ == buffer_.size()) Flush();
}

void PackedBitWriter::Finish() {
  Put(0, 7);
  DrainWholeBytes();
  Flush();
}

// Write failures are not looked at here: a full disk shows afterwards as an
// output position short of the member's end.
void PackedBitWriter::Flush() {
  const std::span<const std::uint8_t> bytes(buffer_.data(), buffered_);
  crc_ = Crc32Update(crc_, bytes);
  output_->Write(bytes);
  buffered_ = 0;
}

}  // namespace qv::codec
