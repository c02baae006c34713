#include "archive/new_member.h"

#include "archive/member_header.h"
#include "archive/slot_streams.h"

namespace qv::archive {

Status PackNewMember(LibraryState& state, MemberRecord& record, int output, bool& replacing) {
  FileSlots& slots = state.slots;
  const std::int64_t start = slots.Tell(output);
  Status status = start < 0 ? Status::kCannotOpen : WriteMemberHeader(slots, output, record);
  if (status == Status::kOk) {
    SlotPackInput input(slots, record.input_slot);
    SlotPackOutput packed(slots, state.files, output);
    status = state.encoder.PackMember(record, &input, &packed, replacing);
  }
  return FinishNewMember(slots, output, start, record, status);
}

Status FinishNewMember(FileSlots& slots, int output, std::int64_t start, MemberRecord& record,
                       Status packed) {
  Status status = packed;
  if (status == Status::kOk) {
    const std::int64_t end = slots.Tell(output);
    slots.Seek(output, start, platform::SeekOrigin::kBegin);
    status = WriteMemberHeader(slots, output, record);
    slots.Seek(output, end, platform::SeekOrigin::kBegin);
  }
  if (status != Status::kOk) slots.Seek(output, start, platform::SeekOrigin::kBegin);
  return status;
}

}  // namespace qv::archive
