#include "platform/registry_value.h"

#include <algorithm>

namespace qv::platform {

RegistryValue RegistryValue::String(std::string_view text, bool with_terminator) {
  RegistryValue value{RegistryType::kString, {text.begin(), text.end()}};
  if (with_terminator) value.data.push_back(0);
  return value;
}

RegistryValue RegistryValue::Dword(std::uint32_t number) {
  return {RegistryType::kDword,
          {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
           static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::optional<std::uint32_t> RegistryValue::AsDword() const {
  if (type != RegistryType::kDword || data.size() != 4) return std::nullopt;
  return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
         std::uint32_t{data[3]} << 24;
}

std::string RegistryValue::AsText() const {
  const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  return {data.begin(), end};
}

}  // namespace qv::platform
