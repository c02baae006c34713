// The text test that sets a new member's flag bits 0 (text) and 1 (binary).
// A file of s bytes is text when it holds at least 2s/1000 + 1 line feeds,
// at most 2s/100 + 1 zero bytes and at most s/10 + 1 other control bytes
// (below 0x20 or above 0x7F, tab excepted, carriage return included).
#pragma once

#include <cstdint>

#include "archive/file_slots.h"
#include "codec/member_record.h"

namespace qv::archive {

// kFlagText or kFlagBinary for the file open on the slot (read from its
// start and rewound afterwards), or 0 when it is empty or cannot be read.
std::uint32_t TextTestFlags(FileSlots& slots, int slot);

}  // namespace qv::archive
