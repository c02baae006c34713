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

}  // namespace qv::archive
