// The working record of one archive member. Every library operation and every
// progress event carries one; callbacks may read and change it (status word,
// flags, name) and the change takes effect at once. Shared by the codec and
// the archive library, so it lives at the bottom of the stack.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace qv {

struct MemberRecord {
  static constexpr std::size_t kNameCapacity = 272;
  // Longest destination path an extraction may build (the rest is room for
  // the terminator and a temporary suffix).
  static constexpr std::size_t kMaxPathLength = 268;

  std::uint32_t reserved = 0;
  std::int32_t input_slot = 0;   // file slot read from; -1 none
  std::int32_t output_slot = 0;  // file slot written to; -1 none
  std::uint32_t made_by_version = 0;
  std::uint32_t needed_version = 0;
  std::uint32_t name_length = 0;
  std::uint32_t modification_time = 0;  // seconds since 1970 UTC
  std::uint16_t mode = 0;               // C run-time mode word
  std::int32_t owner_id = 0;
  std::int32_t group_id = 0;
  std::uint32_t packed_size = 0;
  std::uint32_t unpacked_size = 0;
  std::uint32_t crc = 0;
  std::uint32_t method = 0;  // 1 stored, 2 compressed
  std::uint32_t host_code = 0;
  std::uint32_t flags = 0;
  std::uint32_t reserved_header_byte = 0;
  std::uint32_t extra_length = 0;
  const std::uint8_t* extra_data = nullptr;  // never filled by this library
  // The volume number and the four reserved header bytes after it travel
  // together, read and written as they stand.
  std::array<std::uint8_t, 5> volume_and_reserved{};
  std::int16_t status_word = 0;  // 30 cancels; other nonzero values stop
  std::array<char, kNameCapacity> name{};

  std::uint8_t volume_number() const { return volume_and_reserved[0]; }
  void set_volume_number(std::uint8_t volume) { volume_and_reserved[0] = volume; }

  std::string_view name_view() const {
    return {name.data(), std::min<std::size_t>(name_length, kNameCapacity - 1)};
  }
  // Copies at most kNameCapacity - 1 bytes, terminates, and sets name_length.
  void set_name(std::string_view text) {
    const std::size_t length = std::min(text.size(), kNameCapacity - 1);
    std::copy_n(text.data(), length, name.data());
    name[length] = '\0';
    name_length = static_cast<std::uint32_t>(length);
  }

  bool operator==(const MemberRecord&) const = default;
};

// Member flag bits of the header and the record.
inline constexpr std::uint32_t kFlagText = 0x01;
inline constexpr std::uint32_t kFlagBinary = 0x02;
inline constexpr std::uint32_t kFlagEncrypted = 0x04;
inline constexpr std::uint32_t kFlagContinued = 0x08;

// Member methods.
inline constexpr std::uint32_t kMethodStored = 1;
inline constexpr std::uint32_t kMethodCompressed = 2;

// Status word values a callback may set.
inline constexpr std::int16_t kStatusWordCancel = 30;

}  // namespace qv
