// The codec's whole view of files. The codec reads and writes only through
// these small interfaces: the archive library implements them over its file
// slots, tests and tools over memory or host files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace qv::codec {

// The packed bytes of one member, read by the decoder.
class PackedSource {
 public:
  virtual ~PackedSource() = default;

  // The next byte, or -1 at the end of the file or on a read error.
  virtual int ReadByte() = 0;

  // Fills `buffer` from the next bytes and returns how many were read; fewer
  // than asked only at the end of the file or on a read error. The default
  // takes them one at a time; a source with a block read should override it.
  virtual std::size_t Read(std::span<std::uint8_t> buffer);
};

// What the encoder takes from the status of the file it packs.
struct FileStatus {
  std::uint32_t modification_time = 0;  // seconds since 1970 UTC
  std::uint16_t mode = 0;               // C run-time mode word
  std::int16_t owner_id = 0;
  std::int16_t group_id = 0;
  std::uint32_t size = 0;
};

// The file being packed.
class PackInput {
 public:
  virtual ~PackInput() = default;

  // Fills `buffer` from the next bytes and returns how many were read; fewer
  // than asked only at the end of the file or on a read error.
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  // Goes back to the first byte; false when that fails.
  virtual bool Rewind() = 0;
  // The file's status, or nothing when it cannot be had.
  virtual std::optional<FileStatus> ReadStatus() = 0;
};

// The archive being written.
class PackOutput {
 public:
  virtual ~PackOutput() = default;

  // Writes the bytes at the current position and returns how many were
  // written; fewer when the disk is full.
  virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
  // The current position, or -1 on failure.
  virtual std::int64_t Tell() = 0;
  // Moves to an absolute position; false on failure.
  virtual bool Seek(std::int64_t position) = 0;
  // Whether the file lies on a removable drive (no disk-full test there).
  virtual bool OnRemovableDrive() = 0;
  // The number of the drive the file lies on, 0 for A:.
  virtual int DriveNumber() = 0;
};

}  // namespace qv::codec
