#include "codec/memory_streams.h"

#include <algorithm>
#include <utility>

namespace qv::codec {
namespace {

// Copies the next bytes from `from` at `position` into `buffer`.
std::size_t ReadFrom(std::span<const std::uint8_t> from, std::size_t& position,
                     std::span<std::uint8_t> buffer) {
  const std::size_t count = std::min(buffer.size(), from.size() - position);
  std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(position), count, buffer.begin());
  position += count;
  return count;
}

}  // namespace

int MemoryPackedSource::ReadByte() {
  if (position_ >= bytes_.size()) return -1;
  return bytes_[position_++];
}

std::size_t MemoryPackedSource::Read(std::span<std::uint8_t> buffer) {
  return ReadFrom(bytes_, position_, buffer);
}

MemoryPackInput::MemoryPackInput(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
  FileStatus file_status;
  file_status.modification_time = 990'057'600;  // 2001-05-17 00:00:00 UTC
  file_status.mode = 0x81B6;
  file_status.size = static_cast<std::uint32_t>(bytes_.size());
  status = file_status;
}

std::size_t MemoryPackInput::Read(std::span<std::uint8_t> buffer) {
  return ReadFrom(bytes_, position_, buffer);
}

bool MemoryPackInput::Rewind() {
  if (rewind_fails) return false;
  position_ = 0;
  return true;
}

std::size_t MemoryPackOutput::Write(std::span<const std::uint8_t> bytes) {
  const std::size_t room = capacity > position_ ? capacity - position_ : 0;
  const std::size_t count = std::min(bytes.size(), room);
  if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
  std::copy_n(bytes.begin(), count, bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ += count;
  return count;
}

bool MemoryPackOutput::Seek(std::int64_t position) {
  if (position < 0) return false;
  position_ = static_cast<std::size_t>(position);
  return true;
}

}  // namespace qv::codec
