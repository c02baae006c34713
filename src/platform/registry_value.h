// A registry value: its type and its exact bytes. A REG_SZ written without a
// terminating zero keeps its bytes as written; nothing adds the zero.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

enum class RegistryType : std::uint32_t {
  kNone = 0,
  kString = 1,  // REG_SZ
  kExpandString = 2,
  kBinary = 3,
  kDword = 4,  // REG_DWORD, little-endian
  kMultiString = 7,
};

struct RegistryValue {
  RegistryType type = RegistryType::kNone;
  std::vector<std::uint8_t> data;

  // REG_SZ holding the text's bytes, with a terminating zero only if asked.
  static RegistryValue String(std::string_view text, bool with_terminator = false);
  static RegistryValue Dword(std::uint32_t value);

  // The number of a REG_DWORD of exactly four bytes.
  std::optional<std::uint32_t> AsDword() const;
  // The bytes up to the first zero byte (all of them when there is none).
  std::string AsText() const;

  bool operator==(const RegistryValue&) const = default;
};

}  // namespace qv::platform
