#include "codec/packed_bit_writer.h"

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

void PackedBitWriter::DrainWholeBytes() {
  for (; pending_bits_ >= 8; pending_bits_ -= 8) {
    if (incompressible_) continue;
    if (written_ >= *bytes_read_) {
      incompressible_ = true;
      continue;
    }
    buffer_[buffered_++] = static_cast<std::uint8_t>(pending_ >> (pending_bits_ - 8));
    ++written_;
    if (buffered_ == buffer_.size()) Flush();
  }
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
