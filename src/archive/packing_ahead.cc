#include "archive/packing_ahead.h"

#include <algorithm>

#include "archive/member_header.h"
#include "archive/new_member.h"
#include "archive/slot_streams.h"
#include "codec/encoder.h"

namespace qv::archive {
namespace {

// The prepared file's bytes as the encoder's input; they stay with the file.
class PreparedInput final : public codec::PackInput {
 public:
  explicit PreparedInput(const PreparedFile& file) : file_(file) {}
  std::size_t Read(std::span<std::uint8_t> buffer) override {
    const std::span<const std::uint8_t> bytes = file_.bytes();
    const std::size_t count = std::min(buffer.size(), bytes.size() - position_);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(position_), count, buffer.begin());
    position_ += count;
    return count;
  }
  bool Rewind() override {
    position_ = 0;
    return true;
  }
  std::optional<codec::FileStatus> ReadStatus() override { return file_.status; }

 private:
  const PreparedFile& file_;
  std::size_t position_ = 0;
};

// Records the encoder's writes and seeks; a write always goes whole.
class RecordingOutput final : public codec::PackOutput {
 public:
  explicit RecordingOutput(PackedAhead& packed) : packed_(packed) {}
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    packed_.steps.push_back({.offset = packed_.written.size(), .size = bytes.size()});
    packed_.written.insert(packed_.written.end(), bytes.begin(), bytes.end());
    position_ += static_cast<std::int64_t>(bytes.size());
    return bytes.size();
  }
  std::int64_t Tell() override { return position_; }
  bool Seek(std::int64_t position) override {
    packed_.steps.push_back({.seek = true, .position = position});
    position_ = position;
    return true;
  }
  // The disk's answers come when the steps are made again.
  bool OnRemovableDrive() override { return false; }
  int DriveNumber() override { return 0; }

 private:
  PackedAhead& packed_;
  std::int64_t position_ = 0;
};

// Makes the recorded writes and seeks behind the member's header.
void MakeSteps(FileSlots& slots, int output, std::int64_t data_at, const PackedAhead& packed) {
  for (const OutputStep& step : packed.steps) {
    if (step.seek) {
      slots.Seek(output, data_at + step.position, platform::SeekOrigin::kBegin);
    } else {
      slots.Write(output, std::span(packed.written).subspan(step.offset, step.size));
    }
  }
}

// The events of a member packed ahead that were raised before it is packed
// again in place; the last of them left the record changed.
struct RaisedEvents {
  std::size_t count = 0;
  MemberRecord changed;
  std::int32_t result = 0;
};

// Packs the member again in place, behind its header, from `start_record`:
// the events already raised are not raised again, and the last of them
// leaves the record as the callback changed it.
Status PackAgainInPlace(LibraryState& state, MemberRecord& record, const MemberRecord& start_record,
                        const PreparedFile& file, const RaisedEvents& raised, int output,
                        bool& replacing) {
  std::size_t seen = 0;
  const ProgressCallback resume = [&](MemberRecord& shown, std::int32_t event,
                                      std::int32_t value) -> std::int32_t {
    if (seen == raised.count) return state.Raise(shown, event, value);
    if (++seen < raised.count) return 0;
    shown = raised.changed;
    return raised.result;
  };
  codec::Encoder encoder(&resume);
  encoder.set_optimal_parse(state.encoder.optimal_parse());
  record = start_record;
  replacing = file.replacing;
  PreparedInput input(file);
  SlotPackOutput packed(state.slots, state.files, output);
  return encoder.PackMember(record, &input, &packed, replacing);
}

}  // namespace

PackedAhead PackAhead(const PreparedFile& file, bool optimal_parse,
                      codec::Encoder::TakeOver take_over) {
  PackedAhead packed;
  // Room for the packed bytes of an incompressible file and more: reserved
  // pages cost nothing until written, and the bytes need not move as they
  // grow.
  packed.written.reserve(file.size + file.size / 8 + (std::size_t{64} << 10));
  const ProgressCallback recorder = [&packed](MemberRecord& shown, std::int32_t event,
                                              std::int32_t value) -> std::int32_t {
    if (packed.records.empty() || packed.records.back() != shown) packed.records.push_back(shown);
    packed.events.push_back({event, value, packed.records.size() - 1});
    return 0;
  };
  codec::Encoder encoder(&recorder);
  encoder.set_optimal_parse(optimal_parse);
  encoder.set_take_over(std::move(take_over));
  PreparedInput input(file);
  RecordingOutput output(packed);
  packed.record = file.record;
  packed.replacing = file.replacing;
  packed.status = encoder.PackMember(packed.record, &input, &output, packed.replacing);
  return packed;
}

Status CommitPackedAhead(LibraryState& state, MemberRecord& record, const PreparedFile& file,
                         const PackedAhead& packed, int output, bool& replacing) {
  FileSlots& slots = state.slots;
  const std::int16_t status_word = record.status_word;
  record = file.record;
  record.status_word = status_word;
  const std::int64_t start = slots.Tell(output);
  const Status header = start < 0 ? Status::kCannotOpen : WriteMemberHeader(slots, output, record);
  if (header != Status::kOk) return FinishNewMember(slots, output, start, record, header);
  const std::int64_t data_at = slots.Tell(output);
  if (status_word != 0) {
    // Packed ahead with a record nobody had stopped: pack it in place.
    const Status status =
        PackAgainInPlace(state, record, MemberRecord(record), file, {}, output, replacing);
    return FinishNewMember(slots, output, start, record, status);
  }

  // A member that packed whole says so only once its bytes are written:
  // that write may still find the disk full.
  const bool whole = packed.status == Status::kOk && !packed.events.empty() &&
                     packed.events.back().event == event::kAdded;
  const std::size_t before_bytes = packed.events.size() - (whole ? 1 : 0);
  for (std::size_t i = 0; i < before_bytes; ++i) {
    const RecordedEvent& recorded = packed.events[i];
    record = packed.records[recorded.record];
    const std::int32_t result = state.Raise(record, recorded.event, recorded.value);
    if (record != packed.records[recorded.record]) {
      const RaisedEvents raised{.count = i + 1, .changed = record, .result = result};
      const Status status =
          PackAgainInPlace(state, record, file.record, file, raised, output, replacing);
      return FinishNewMember(slots, output, start, record, status);
    }
  }
  record = packed.record;
  replacing = packed.replacing;
  MakeSteps(slots, output, data_at, packed);
  if (!whole) return FinishNewMember(slots, output, start, record, packed.status);

  // The encoder's own test of a disk that filled, made on the real output.
  SlotPackOutput on_disk(slots, state.files, output);
  if (!on_disk.OnRemovableDrive() && slots.Tell(output) < data_at + record.packed_size) {
    slots.Seek(output, data_at, platform::SeekOrigin::kBegin);
    state.Raise(record, ToInt(Status::kDiskFull), on_disk.DriveNumber());
    replacing = file.replacing;
    return FinishNewMember(slots, output, start, record, Status::kDiskFull);
  }
  record = packed.records[packed.events.back().record];
  state.Raise(record, event::kAdded, 0);
  return FinishNewMember(slots, output, start, record, Status::kOk);
}

}  // namespace qv::archive
