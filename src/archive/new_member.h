// Writing one new member at an output's position: a provisional header, the
// data from the encoder, then the header again with the sizes, CRC and
// method the encoder found. A member that fails leaves the output at the
// position where its header began, so that whatever is written next takes
// its place and no reader meets it.
#pragma once

#include "archive/library_state.h"

namespace qv::archive {

// The record holds the new member's header fields and its input slot (the
// file to pack). `replacing` marks a member that replaces one of the same
// name (event 4 instead of 1); the encoder clears it on success. Returns kOk
// or the encoder's or the header's failure.
Status PackNewMember(LibraryState& state, MemberRecord& record, int output, bool& replacing);

// The end of a member whose header was written at `start` and whose data
// `packed` says how they went: on success the header is written again with
// the record and the output left behind the data, else the output goes back
// to `start`. Returns `packed` or the header's failure.
Status FinishNewMember(FileSlots& slots, int output, std::int64_t start, MemberRecord& record,
                       Status packed);

}  // namespace qv::archive
