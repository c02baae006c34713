#include "archive/member_expansion.h"

#include <algorithm>
#include <array>

#include "archive/archive_names.h"
#include "archive/drive_info.h"
#include "archive/slot_streams.h"
#include "archive/threaded_work.h"
#include "archive/volume_reading.h"
#include "codec/crc32.h"

namespace qv::archive {
namespace {

constexpr std::size_t kBlock = 4096;
// Stored members report their progress after every 8th block.
constexpr int kBlocksPerProgress = 8;

}  // namespace

Status MemberExpansion::Expand(int output, std::string_view target, bool& consumed) {
  consumed = false;
  if (!state_.slots.Valid(state_.archive_slot) || !state_.slots.Valid(output)) {
    return Status::kCannotOpen;
  }
  const bool continued = (record_.flags & kFlagContinued) != 0;
  const int drive = DriveOfPath(state_.files, target);
  const std::int64_t needed =
      std::int64_t{record_.unpacked_size} + (continued ? std::int64_t{record_.packed_size} : 0);
  const std::int64_t free = FreeSpace(state_.files, drive);
  if (free >= 0 && free < needed) {
    state_.Raise(record_, ToInt(Status::kInsufficientSpace), drive);
    return Status::kInsufficientSpace;
  }
  int input = state_.archive_slot;
  std::string gathering;
  if (continued) {
    consumed = true;
    const Status gathered = Gather(FolderOf(target), gathering, input);
    if (gathered != Status::kOk) return gathered;
  }
  const Status status =
      record_.method == kMethodStored ? Unstore(input, output) : Decode(input, output);
  if (continued) {
    state_.slots.Close(input);
    state_.files.Remove(gathering);
  }
  return status;
}

Status MemberExpansion::Gather(std::string_view folder, std::string& name, int& slot) {
  const std::optional<std::string> temporary = state_.temporary_names.Next(state_.files, folder);
  if (!temporary) return Status::kNoMemory;
  name = state_.RaiseScratch(event::kGatheringName, 0, *temporary).name_view();
  slot = state_.slots.Open(name, open_mode::kReadWriteNew);
  if (slot < 0) {
    // Expanding nothing would put an empty file in the target's place.
    state_.Raise(record_, ToInt(Status::kCannotCreate), 0);
    return Status::kCannotCreate;
  }
  const Status passed = VolumeReader(state_, record_).PassMember(record_.packed_size, slot);
  if (passed != Status::kOk || state_.slots.Seek(slot, 0, platform::SeekOrigin::kBegin) != 0) {
    state_.slots.Close(slot);
    state_.files.Remove(name);
    return passed != Status::kOk ? passed : Status::kReadError;
  }
  return Status::kOk;
}

Status MemberExpansion::WriteFailed() {
  state_.Raise(record_, ToInt(Status::kWriteError), 0);
  return Status::kWriteError;
}

Status MemberExpansion::Unstore(int input, int output) {
  state_.Raise(record_, event::kUnstoreBegins, 0);
  std::array<std::uint8_t, kBlock> block{};
  std::uint32_t crc = codec::kCrcPreset;
  std::uint32_t written = 0;
  int blocks = 0;
  while (written < record_.unpacked_size) {
    if (record_.status_word == kStatusWordCancel) return Status::kCanceled;
    const std::size_t want = std::min<std::size_t>(kBlock, record_.unpacked_size - written);
    const std::size_t got = state_.slots.Read(input, std::span(block.data(), want));
    const std::span<const std::uint8_t> bytes(block.data(), got);
    if (state_.slots.Write(output, bytes) != got) return WriteFailed();
    crc = codec::Crc32Update(crc, bytes);
    written += static_cast<std::uint32_t>(got);
    if (++blocks % kBlocksPerProgress == 0) {
      state_.Raise(record_, event::kExtractProgress, static_cast<std::int32_t>(written));
    }
    if (got < want) break;  // the archive ends early: the CRC tells
  }
  if (record_.status_word == kStatusWordCancel) return Status::kCanceled;
  state_.Raise(record_, event::kExtractWritten, 0);
  return CheckCrc(~crc);
}

Status MemberExpansion::Decode(int input, int output) {
  MemberDecoding* ahead = nullptr;
  if (state_.decode_ahead != nullptr && input == state_.archive_slot) {
    ahead = state_.decode_ahead->Take(state_.slots.Tell(input), record_.packed_size,
                                      record_.unpacked_size);
  }
  SlotPackedSource source(state_.slots, input);
  codec::Decoder& decoder = state_.decoder;
  if (!ahead) decoder.DecodeStart(source, record_.packed_size);
  std::array<std::uint8_t, codec::kWindowSize> window{};
  bool damaged = false;
  std::size_t chunk = 0;
  for (std::uint32_t left = record_.unpacked_size;
       left > 0 && record_.status_word != kStatusWordCancel; ++chunk) {
    const std::size_t count = std::min<std::size_t>(codec::kWindowSize, left);
    std::span<const std::uint8_t> bytes(window.data(), count);
    if (ahead) {
      // What the decoder in place would raise before the chunk.
      state_.Raise(record_, event::kExtractProgress,
                   static_cast<std::int32_t>(chunk * codec::kWindowSize));
      damaged = !ahead->WaitForChunk(chunk);
      if (!damaged) bytes = ahead->Chunk(chunk, count);
    } else {
      damaged = decoder.DecodeChunk(record_, count, window) != Status::kOk;
    }
    if (damaged) break;
    if (state_.slots.Write(output, bytes) != count) return WriteFailed();
    left -= static_cast<std::uint32_t>(count);
  }
  if (record_.status_word == kStatusWordCancel) return Status::kCanceled;
  const std::uint32_t crc = ahead ? ahead->PackedCrc() : decoder.PackedCrc();
  if (damaged) {
    // A stream the encoder never writes: the member fails as on a CRC mismatch.
    state_.Raise(record_, ToInt(Status::kCrcError), static_cast<std::int32_t>(crc));
    return Status::kCrcError;
  }
  state_.Raise(record_, event::kExtractWritten, 0);
  return CheckCrc(crc);
}

Status MemberExpansion::CheckCrc(std::uint32_t crc) {
  if (crc == record_.crc) return Status::kOk;
  state_.Raise(record_, ToInt(Status::kCrcError), static_cast<std::int32_t>(crc));
  return Status::kCrcError;
}

}  // namespace qv::archive
