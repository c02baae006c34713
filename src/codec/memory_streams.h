// The codec's byte streams over memory, for tests, benchmarks and fuzzing.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "codec/byte_streams.h"

namespace qv::codec {

// Packed bytes held in memory; the caller keeps them alive.
class MemoryPackedSource final : public PackedSource {
 public:
  explicit MemoryPackedSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  int ReadByte() override;
  std::size_t Read(std::span<std::uint8_t> buffer) override;
  std::size_t position() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// A file to pack, held in memory. Its status gives its size unless a test
// sets another one (a file that changed after its status was taken).
class MemoryPackInput final : public PackInput {
 public:
  explicit MemoryPackInput(std::vector<std::uint8_t> bytes);

  std::size_t Read(std::span<std::uint8_t> buffer) override;
  bool Rewind() override;
  std::optional<FileStatus> ReadStatus() override { return status; }

  std::optional<FileStatus> status;
  bool rewind_fails = false;

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// An archive being written, held in memory. A capacity stands for a disk
// that fills: writes beyond it are cut short.
class MemoryPackOutput final : public PackOutput {
 public:
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  std::int64_t Tell() override { return static_cast<std::int64_t>(position_); }
  bool Seek(std::int64_t position) override;
  bool OnRemovableDrive() override { return removable; }
  int DriveNumber() override { return drive; }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  std::size_t capacity = std::numeric_limits<std::size_t>::max();
  bool removable = false;
  int drive = 2;  // C:

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace qv::codec
