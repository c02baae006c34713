#include "sim/registry_json.h"

#include <nlohmann/json.hpp>

#include "sim/json_fields.h"
#include "sim/latin1.h"

namespace qv::sim {

using platform::RegistryType;
using platform::RegistryValue;

namespace {

constexpr std::string_view kFile = "registry.json";
constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";

struct TypeName {
  RegistryType type;
  std::string_view name;
};
constexpr TypeName kTypeNames[] = {{RegistryType::kNone, "REG_NONE"},
                                   {RegistryType::kString, "REG_SZ"},
                                   {RegistryType::kExpandString, "REG_EXPAND_SZ"},
                                   {RegistryType::kBinary, "REG_BINARY"},
                                   {RegistryType::kDword, "REG_DWORD"},
                                   {RegistryType::kMultiString, "REG_MULTI_SZ"}};

nlohmann::ordered_json TypeToJson(RegistryType type) {
  for (const TypeName& entry : kTypeNames) {
    if (entry.type == type) return entry.name;
  }
  return static_cast<std::uint32_t>(type);
}

std::string ToHex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint8_t byte : bytes) {
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 15]);
  }
  return hex;
}

std::optional<std::vector<std::uint8_t>> FromHex(const std::string& hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const auto digit = [](char c) -> int {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      return -1;
    };
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return bytes;
}

nlohmann::ordered_json ValueToJson(const RegistryValue& value) {
  nlohmann::ordered_json json = {{"type", TypeToJson(value.type)}};
  if (const auto number = value.AsDword()) {
    json["dword"] = *number;
  } else if (value.type == RegistryType::kString) {
    const bool terminated = !value.data.empty() && value.data.back() == 0;
    const std::string bytes(value.data.begin(), value.data.end() - (terminated ? 1 : 0));
    json["text"] = BytesToJson(bytes);
    json["terminated"] = terminated;
  } else {
    json["hex"] = ToHex(value.data);
  }
  return json;
}

RegistryValue ValueFromJson(const JsonFields& fields) {
  RegistryValue value;
  const nlohmann::ordered_json& type =
      fields.json().contains("type") ? fields.json()["type"] : nlohmann::ordered_json();
  bool known = false;
  for (const TypeName& entry : kTypeNames) {
    if (type.is_string() && type.get<std::string>() == entry.name) {
      value.type = entry.type;
      known = true;
    }
  }
  if (!known) value.type = static_cast<RegistryType>(fields.Integer("type", 0, 0xFFFFFFFF));
  if (fields.Has("dword")) {
    return RegistryValue::Dword(static_cast<std::uint32_t>(fields.Integer("dword", 0, 0xFFFFFFFF)));
  }
  if (fields.Has("text")) {
    const std::optional<std::string> bytes = JsonToBytes(fields.Text("text"));
    if (!bytes) fields.Fail("text", "holds a character that is not a single byte");
    value.data.assign(bytes->begin(), bytes->end());
    if (fields.Boolean("terminated")) value.data.push_back(0);
    return value;
  }
  const std::optional<std::vector<std::uint8_t>> bytes = FromHex(fields.Text("hex"));
  if (!bytes) fields.Fail("hex", "must be pairs of hexadecimal digits");
  value.data = *bytes;
  return value;
}

}  // namespace

std::vector<RegistryKey> ParseRegistry(std::string_view text) {
  const nlohmann::ordered_json document = ParseJsonObject(text, kFile);
  const JsonFields top(document, std::string(kFile));
  const JsonFields root = top.Object(kRoot);
  std::vector<RegistryKey> keys;
  for (const auto& [path, values] : root.json().items()) {
    const std::optional<std::string> key_path = JsonToBytes(path);
    if (!key_path) root.Fail(path, "the key name holds a character that is not a single byte");
    const JsonFields key = root.Object(path);
    RegistryKey parsed{*key_path, {}};
    for (const auto& [name, unused] : key.json().items()) {
      const std::optional<std::string> value_name = JsonToBytes(name);
      if (!value_name) key.Fail(name, "the value name holds a character that is not a single byte");
      parsed.values.push_back({*value_name, ValueFromJson(key.Object(name))});
    }
    keys.push_back(std::move(parsed));
  }
  return keys;
}

std::string FormatRegistry(const std::vector<RegistryKey>& keys) {
  nlohmann::ordered_json root = nlohmann::ordered_json::object();
  for (const RegistryKey& key : keys) {
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    for (const RegistryEntry& entry : key.values) {
      values[BytesToJson(entry.name)] = ValueToJson(entry.value);
    }
    root[BytesToJson(key.path)] = values;
  }
  const nlohmann::ordered_json document = {{kRoot, root}};
  return document.dump(2) + "\n";
}

}  // namespace qv::sim
