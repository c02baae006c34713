// The codec's byte streams over the library's file slots: the packed bytes
// the decoder reads, and the file and archive the encoder reads and writes.
#pragma once

#include <optional>

#include "archive/file_slots.h"
#include "codec/byte_streams.h"

namespace qv::archive {

class SlotPackedSource final : public codec::PackedSource {
 public:
  SlotPackedSource(FileSlots& slots, int slot) : slots_(slots), slot_(slot) {}
  int ReadByte() override { return slots_.ReadByte(slot_); }
  std::size_t Read(std::span<std::uint8_t> buffer) override { return slots_.Read(slot_, buffer); }

 private:
  FileSlots& slots_;
  int slot_;
};

class SlotPackInput final : public codec::PackInput {
 public:
  SlotPackInput(FileSlots& slots, int slot) : slots_(slots), slot_(slot) {}
  std::size_t Read(std::span<std::uint8_t> buffer) override { return slots_.Read(slot_, buffer); }
  bool Rewind() override { return slots_.Seek(slot_, 0, platform::SeekOrigin::kBegin) == 0; }
  // The status through the slot's name; nothing for a file of 4 GiB or more,
  // which no member can hold.
  std::optional<codec::FileStatus> ReadStatus() override;

 private:
  FileSlots& slots_;
  int slot_;
};

class SlotPackOutput final : public codec::PackOutput {
 public:
  SlotPackOutput(FileSlots& slots, platform::Files& files, int slot)
      : slots_(slots), files_(files), slot_(slot) {}
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    return slots_.Write(slot_, bytes);
  }
  std::int64_t Tell() override { return slots_.Tell(slot_); }
  bool Seek(std::int64_t position) override {
    return slots_.Seek(slot_, position, platform::SeekOrigin::kBegin) == position;
  }
  bool OnRemovableDrive() override;
  int DriveNumber() override;

 private:
  FileSlots& slots_;
  platform::Files& files_;
  int slot_;
};

}  // namespace qv::archive
