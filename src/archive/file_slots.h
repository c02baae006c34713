// The library's table of open files: twenty slots, each an open stream with
// the upper-cased name it was opened under. Every file the library touches
// (archive, work archive, temporary outputs, files being added) is opened
// through it, so slot numbers are what member records and the codec's stream
// adapters hold. A free slot may be reserved while a volume is changed, so
// that the number of a closed archive is not handed out to another file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codec/status.h"
#include "platform/files.h"

namespace qv::archive {

// Open mode bits of the slot table, combined.
namespace open_mode {
inline constexpr std::uint32_t kRead = 1;
inline constexpr std::uint32_t kUpdate = 2;
inline constexpr std::uint32_t kAppend = 4;
inline constexpr std::uint32_t kCreate = 8;
// The combinations the library uses.
inline constexpr std::uint32_t kReadOnly = kRead;                          // "rb"
inline constexpr std::uint32_t kReadAppend = kRead | kUpdate | kAppend;    // "a+b"
inline constexpr std::uint32_t kWriteNew = kCreate | kUpdate;              // "wb"
inline constexpr std::uint32_t kReadWriteNew = kCreate | kUpdate | kRead;  // "w+b"
}  // namespace open_mode

// The stream mode string of a combination ("rb", "w+b" ...), or nothing for
// a combination without any of the bits.
std::optional<std::string> StreamModeFor(std::uint32_t mode);

class FileSlots {
 public:
  static constexpr int kSlotCount = 20;

  explicit FileSlots(platform::Files& files) : files_(files) {}

  // Opens a file: the slot number (0-19), or a negative status: kBadArgument
  // for no name or no valid mode, kError when the stream did not open,
  // kTooManyHandles when every slot is taken (the stream is closed again).
  int Open(std::string_view name, std::uint32_t mode);
  // Frees the slot: kOk, kCannotOpen for an invalid slot, or kWriteError when
  // closing the stream failed (what was written may not all be there).
  Status Close(int slot);
  // Closes every open slot and clears every reservation.
  void CloseAll();

  bool Valid(int slot) const;
  // The upper-cased name the slot was opened under ("" for an invalid slot).
  const std::string& NameOf(int slot) const;

  // Bytes transferred; 0 for an invalid slot or an empty buffer.
  std::size_t Read(int slot, std::span<std::uint8_t> buffer);
  std::size_t Write(int slot, std::span<const std::uint8_t> bytes);
  // The byte, or -1 at the end of the file or for an invalid slot.
  int ReadByte(int slot);
  // The position, or -1 on failure or for an invalid slot.
  std::int64_t Tell(int slot);
  // The new position, or -1 on failure or for an invalid slot.
  std::int64_t Seek(int slot, std::int64_t offset, platform::SeekOrigin origin);
  // The file's length (the position is kept), or -1.
  std::int64_t Length(int slot);
  // The file's status through its stored name; nothing for an invalid slot
  // or a file whose status cannot be had.
  std::optional<platform::FileStatus> StatusOf(int slot);

  // Marks a free slot reserved, or clears the mark; kCannotOpen when the slot
  // is out of range or not in the expected state.
  Status Reserve(int slot) { return Mark(slot, kFree, kReserved); }
  Status Release(int slot) { return Mark(slot, kReserved, kFree); }
  // Moves an open slot into a free (not reserved) one; kCannotOpen otherwise.
  Status MoveInto(int from, int to);

 private:
  enum State : std::uint32_t { kFree = 0, kOpen = 1, kReserved = 2 };
  struct Slot {
    platform::Stream stream;
    std::string name;
    std::uint32_t state = kFree;
  };

  static bool InRange(int slot) { return slot >= 0 && slot < kSlotCount; }
  // Moves a slot from one state to another; kCannotOpen when it is not in `from`.
  Status Mark(int slot, std::uint32_t from, std::uint32_t to);
  Slot* OpenSlot(int slot);

  platform::Files& files_;
  std::array<Slot, kSlotCount> slots_{};
};

}  // namespace qv::archive
