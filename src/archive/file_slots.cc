#include "archive/file_slots.h"

#include <utility>

#include "archive/archive_names.h"

namespace qv::archive {

std::optional<std::string> StreamModeFor(std::uint32_t mode) {
  using namespace open_mode;
  const bool read = (mode & kRead) != 0;
  if (mode & kCreate) return read ? "w+b" : "wb";
  if (mode & kAppend) return read ? "a+b" : "ab";
  if (mode & kUpdate) return read ? "r+b" : "wb";
  if (read) return "rb";
  return std::nullopt;
}

bool FileSlots::Valid(int slot) const {
  return InRange(slot) && slots_[static_cast<std::size_t>(slot)].state == kOpen;
}

FileSlots::Slot* FileSlots::OpenSlot(int slot) {
  return Valid(slot) ? &slots_[static_cast<std::size_t>(slot)] : nullptr;
}

const std::string& FileSlots::NameOf(int slot) const {
  static const std::string kNone;
  return Valid(slot) ? slots_[static_cast<std::size_t>(slot)].name : kNone;
}

int FileSlots::Open(std::string_view name, std::uint32_t mode) {
  const std::optional<std::string> stream_mode = StreamModeFor(mode);
  if (name.empty() || !stream_mode) return ToInt(Status::kBadArgument);
  platform::Result<platform::Stream> stream = files_.Open(name, *stream_mode);
  if (!stream) return ToInt(Status::kError);
  for (int number = 0; number < kSlotCount; ++number) {
    Slot& slot = slots_[static_cast<std::size_t>(number)];
    if (slot.state != kFree) continue;
    slot.stream = std::move(*stream);
    slot.name = UpperAscii(name);
    slot.state = kOpen;
    return number;
  }
  stream->Close();
  return ToInt(Status::kTooManyHandles);
}

Status FileSlots::Close(int number) {
  Slot* slot = OpenSlot(number);
  if (slot == nullptr) return Status::kCannotOpen;
  const bool closed = slot->stream.Close();
  slot->name.clear();
  slot->state = kFree;
  return closed ? Status::kOk : Status::kWriteError;
}

void FileSlots::CloseAll() {
  for (Slot& slot : slots_) {
    slot.stream.Close();
    slot.name.clear();
    slot.state = kFree;
  }
}

std::size_t FileSlots::Read(int number, std::span<std::uint8_t> buffer) {
  Slot* slot = OpenSlot(number);
  return slot == nullptr || buffer.empty() ? 0 : slot->stream.Read(buffer);
}

std::size_t FileSlots::Write(int number, std::span<const std::uint8_t> bytes) {
  Slot* slot = OpenSlot(number);
  return slot == nullptr || bytes.empty() ? 0 : slot->stream.Write(bytes);
}

int FileSlots::ReadByte(int number) {
  Slot* slot = OpenSlot(number);
  return slot == nullptr ? -1 : slot->stream.GetChar();
}

std::int64_t FileSlots::Tell(int number) {
  Slot* slot = OpenSlot(number);
  return slot == nullptr ? -1 : slot->stream.Tell();
}

std::int64_t FileSlots::Seek(int number, std::int64_t offset, platform::SeekOrigin origin) {
  Slot* slot = OpenSlot(number);
  if (slot == nullptr || !slot->stream.Seek(offset, origin)) return -1;
  return slot->stream.Tell();
}

std::int64_t FileSlots::Length(int number) {
  const std::int64_t position = Tell(number);
  if (position < 0) return -1;
  const std::int64_t end = Seek(number, 0, platform::SeekOrigin::kEnd);
  Seek(number, position, platform::SeekOrigin::kBegin);
  return end;
}

std::optional<platform::FileStatus> FileSlots::StatusOf(int number) {
  if (!Valid(number)) return std::nullopt;
  platform::Result<platform::FileStatus> status = files_.Status(NameOf(number));
  if (!status) return std::nullopt;
  return *status;
}

Status FileSlots::Mark(int number, std::uint32_t from, std::uint32_t to) {
  if (!InRange(number)) return Status::kCannotOpen;
  Slot& slot = slots_[static_cast<std::size_t>(number)];
  if (slot.state != from) return Status::kCannotOpen;
  slot.state = to;
  return Status::kOk;
}

Status FileSlots::MoveInto(int from, int to) {
  Slot* source = OpenSlot(from);
  if (source == nullptr || !InRange(to) || from == to) return Status::kCannotOpen;
  Slot& target = slots_[static_cast<std::size_t>(to)];
  if (target.state != kFree) return Status::kCannotOpen;
  target = std::move(*source);
  source->name.clear();
  source->state = kFree;
  return Status::kOk;
}

}  // namespace qv::archive
