#include "archive/member_header.h"

#include <algorithm>

namespace qv::archive {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value);
  Put16(out, value >> 16);
}

std::uint32_t Get16(const std::uint8_t* bytes) {
  return bytes[0] | static_cast<std::uint32_t>(bytes[1]) << 8;
}

std::uint32_t Get32(const std::uint8_t* bytes) {
  return Get16(bytes) | Get16(bytes + 2) << 16;
}

bool VersionSupported(std::uint8_t needed) {
  const int major = needed >> 4;
  const int minor = needed & 0x0F;
  return major < 3 || (major == 3 && minor <= 1);
}

// Fills the record from an attribute block (missing bytes read as zero).
void TakeAttributeBlock(const std::array<std::uint8_t, kAttributeBlockSize>& block,
                        MemberRecord& record) {
  const std::uint8_t* b = block.data();
  record.modification_time = Get32(b);
  record.mode = static_cast<std::uint16_t>(Get16(b + 4));
  record.owner_id = static_cast<std::int16_t>(Get16(b + 6));
  record.group_id = static_cast<std::int16_t>(Get16(b + 8));
  record.packed_size = Get32(b + 10);
  record.unpacked_size = Get32(b + 14);
  record.crc = Get32(b + 18);
  record.method = b[22];
  record.host_code = b[23];
  record.flags = b[24];
  record.reserved_header_byte = b[25];
  std::copy_n(b + 26, record.volume_and_reserved.size(), record.volume_and_reserved.begin());
  record.extra_length = Get16(b + 31);
}

}  // namespace

std::size_t HeaderLength(const MemberRecord& record) {
  return kFixedPartSize + record.name_length + kAttributeBlockSize;
}

std::string ReadableName(std::string_view stored, std::uint32_t host_code) {
  std::string name(stored);
  for (char& c : name) {
    if (c == '/') c = '\\';
    if (host_code != kCaseKeepingHostCode && c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return name;
}

std::vector<std::uint8_t> EncodeMemberHeader(MemberRecord& record) {
  if (record.made_by_version == 0) record.made_by_version = kLibraryVersion;
  if (record.needed_version == 0) record.needed_version = kLibraryVersion;
  std::string stored(record.name_view());
  std::replace(stored.begin(), stored.end(), '\\', '/');

  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  out.reserve(kFixedPartSize + stored.size() + kAttributeBlockSize);
  out.push_back(kLibraryVersion);
  out.push_back(static_cast<std::uint8_t>(record.needed_version));
  Put16(out, static_cast<std::uint32_t>(stored.size()));
  out.insert(out.end(), stored.begin(), stored.end());
  Put32(out, record.modification_time);
  Put16(out, record.mode);
  Put16(out, static_cast<std::uint32_t>(record.owner_id));
  Put16(out, static_cast<std::uint32_t>(record.group_id));
  Put32(out, record.packed_size);
  Put32(out, record.unpacked_size);
  Put32(out, record.crc);
  out.push_back(static_cast<std::uint8_t>(record.method));
  out.push_back(static_cast<std::uint8_t>(record.host_code));
  out.push_back(static_cast<std::uint8_t>(record.flags));
  out.push_back(static_cast<std::uint8_t>(record.reserved_header_byte));
  out.insert(out.end(), record.volume_and_reserved.begin(), record.volume_and_reserved.end());
  Put16(out, 0);
  record.extra_length = 0;
  record.set_name(ReadableName(stored, record.host_code));
  return out;
}

Status ReadMemberHeader(FileSlots& slots, int slot, MemberRecord& record) {
  std::array<std::uint8_t, kFixedPartSize> fixed{};
  const std::size_t got = slots.Read(slot, fixed);
  if (got < fixed.size() || !std::equal(kSignature.begin(), kSignature.end(), fixed.begin())) {
    return slots.Tell(slot) > 0 ? Status::kCorruptHeader : Status::kNotAnArchive;
  }
  record.made_by_version = fixed[4];
  record.needed_version = fixed[5];
  if (!VersionSupported(fixed[5])) return Status::kIncompatibleVersion;
  const std::uint32_t name_length = Get16(&fixed[6]);
  if (name_length > kMaxStoredNameLength) {
    record.set_name({});
    return Status::kCorruptHeader;
  }
  std::array<char, kMaxStoredNameLength> name{};
  const std::size_t name_got =
      slots.Read(slot, std::span(reinterpret_cast<std::uint8_t*>(name.data()), name_length));
  std::array<std::uint8_t, kAttributeBlockSize> block{};
  const std::size_t block_got = slots.Read(slot, block);
  TakeAttributeBlock(block, record);
  for (std::uint32_t skipped = 0; skipped < record.extra_length; ++skipped) {
    if (slots.ReadByte(slot) < 0) break;
  }
  record.set_name(ReadableName(std::string_view(name.data(), name_got), record.host_code));
  if (name_length == 0) return Status::kEndOfArchive;
  return block_got == 0 ? Status::kCorruptHeader : Status::kOk;
}

Status WriteMemberHeader(FileSlots& slots, int slot, MemberRecord& record) {
  if (record.name_length > kMaxStoredNameLength) return Status::kBadArgument;
  const std::vector<std::uint8_t> bytes = EncodeMemberHeader(record);
  return slots.Write(slot, bytes) == bytes.size() ? Status::kOk : Status::kWriteError;
}

Status WriteEndMarker(FileSlots& slots, int slot, const MemberRecord& record) {
  MemberRecord marker = record;
  marker.set_name({});
  return WriteMemberHeader(slots, slot, marker);
}

}  // namespace qv::archive
