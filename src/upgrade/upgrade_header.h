// The 52-byte upgrade header an installer leaves beside the archive: a
// pending word, eight bytes the loader does not interpret, the part number
// and the archive's file name. Read once when the upgrade context is made;
// written by the package builder.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace qv::upgrade {

inline constexpr std::size_t kHeaderSize = 52;
inline constexpr std::size_t kPartNumberOffset = 12;
inline constexpr std::size_t kPartNumberField = 14;
inline constexpr std::size_t kArchiveNameOffset = 26;
inline constexpr std::size_t kArchiveNameField = 26;

class UpgradeHeader {
 public:
  using Bytes = std::array<std::uint8_t, kHeaderSize>;

  // All zero: nothing pending, empty texts.
  UpgradeHeader() = default;
  explicit UpgradeHeader(const Bytes& bytes) : bytes_(bytes) {}

  // A header for a package. nullopt when a text does not fit its field with
  // a zero byte behind it (13 and 25 characters at most), or the archive's
  // name is not a plain file name (see PlainFileName).
  static std::optional<UpgradeHeader> Make(std::uint32_t pending,
                                           const std::array<std::uint8_t, 8>& reserved,
                                           std::string_view part_number,
                                           std::string_view archive_name);

  // The pending word (little-endian); only compared with 0.
  std::uint32_t pending_word() const;
  bool pending() const { return pending_word() != 0; }
  void clear_pending();
  // Bytes 4 to 11 as they stand.
  std::array<std::uint8_t, 8> reserved() const;
  // The texts up to their zero byte, never beyond their field: a field
  // without a zero byte gives all its bytes.
  std::string part_number() const;
  std::string archive_name() const;
  // The archive's name fits its field with a zero byte and is a plain file
  // name, so that it cannot lead out of the staging folder.
  bool archive_name_plain() const;

  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_{};
};

// A name of a file in the current folder: not empty, no drive, no "\" or
// "/", no "..".
bool PlainFileName(std::string_view name);

// Reads kHeaderFile in the current folder. A missing or unreadable file, one
// shorter than 52 bytes, or one whose archive name is not plain gives a
// header with nothing pending (its other bytes as far as they were read).
UpgradeHeader ReadUpgradeHeader(platform::Files& files);

}  // namespace qv::upgrade
