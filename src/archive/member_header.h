// The member header of the archive format, byte for byte. Every member, and
// the end marker that closes an archive (name length 0), begins with:
//
//   0  signature 67 57 04 01      8  name (N bytes, '/' between names)
//   4  made-by version (0x31)     8+N  attribute block, 33 bytes:
//   5  needed version               time 4, mode 2, owner 2, group 2,
//   6  name length N (0..254)       packed 4, unpacked 4, CRC 4, method 1,
//                                   host 1, flags 1, reserved 1, volume 1,
//                                   reserved 4, extra length E 2
//                                 41+N  extra data (E bytes, skipped)
//
// All integers are little-endian. In memory a name has '\' between names and
// is upper case (ASCII letters), unless the member's host code is 3.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/file_slots.h"
#include "codec/member_record.h"
#include "codec/status.h"

namespace qv::archive {

inline constexpr std::array<std::uint8_t, 4> kSignature = {0x67, 0x57, 0x04, 0x01};
inline constexpr std::uint8_t kLibraryVersion = 0x31;
inline constexpr std::uint8_t kNeededOrdinary = 0x12;
inline constexpr std::uint8_t kNeededContinued = 0x30;
inline constexpr std::uint8_t kOwnHostCode = 16;
inline constexpr std::uint8_t kCaseKeepingHostCode = 3;
inline constexpr std::size_t kFixedPartSize = 8;
inline constexpr std::size_t kAttributeBlockSize = 33;
inline constexpr std::size_t kMaxStoredNameLength = 254;

// The header's length as written for the record (the extra data is never
// written): 41 + N.
std::size_t HeaderLength(const MemberRecord& record);

// A stored name as the record holds it: '/' turned into '\', ASCII letters in
// upper case unless the host code is 3.
std::string ReadableName(std::string_view stored, std::uint32_t host_code);

// The header bytes for the record, as writing makes them: made-by 0x31; a
// made-by or needed version of 0 in the record becomes 0x31; the name with
// '/' between names; extra length 0. Updates the record as writing does (the
// versions, extra length 0, the name in its readable form). The name must
// not be longer than kMaxStoredNameLength.
std::vector<std::uint8_t> EncodeMemberHeader(MemberRecord& record);

// Reads one header at the slot's position into the record. Returns kOk,
// kEndOfArchive for the end marker, kNotAnArchive when no signature stands
// there and the position is 0 afterwards (an empty file), kCorruptHeader for
// a missing signature elsewhere, an overlong name or a missing attribute
// block, kIncompatibleVersion when the needed version is above 3.1.
Status ReadMemberHeader(FileSlots& slots, int slot, MemberRecord& record);

// Writes the record's header at the slot's position: kOk, kBadArgument for a
// name longer than kMaxStoredNameLength, kWriteError for a short write.
Status WriteMemberHeader(FileSlots& slots, int slot, MemberRecord& record);

// Writes the end marker: a header with an empty name and the record's other
// fields (the member handled last). The record is left as it was.
Status WriteEndMarker(FileSlots& slots, int slot, const MemberRecord& record);

}  // namespace qv::archive
