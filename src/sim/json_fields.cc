#include "sim/json_fields.h"

#include "sim/latin1.h"

namespace qv::sim {

JsonFields::JsonFields(const nlohmann::ordered_json& object, std::string where)
    : object_(object), where_(std::move(where)) {
  if (!object_.is_object()) throw MachineError(where_ + ": must be an object");
}

bool JsonFields::Has(std::string_view key) const {
  return object_.contains(key);
}

std::string JsonFields::Name(std::string_view key) const {
  // "machine.json" + "board" -> "machine.json: board"; deeper levels join with dots.
  const bool top = where_.find(": ") == std::string::npos;
  return where_ + (top ? ": " : ".") + std::string(key);
}

void JsonFields::Fail(std::string_view key, std::string_view problem) const {
  throw MachineError(Name(key) + ": " + std::string(problem));
}

const nlohmann::ordered_json& JsonFields::Field(std::string_view key) const {
  const auto found = object_.find(key);
  if (found == object_.end()) Fail(key, "missing");
  return *found;
}

JsonFields JsonFields::Object(std::string_view key) const {
  const nlohmann::ordered_json& field = Field(key);
  if (!field.is_object()) Fail(key, "must be an object");
  return JsonFields(field, Name(key));
}

std::int64_t JsonFields::Integer(std::string_view key, std::int64_t min, std::int64_t max) const {
  const nlohmann::ordered_json& field = Field(key);
  const std::string range =
      "must be an integer from " + std::to_string(min) + " to " + std::to_string(max);
  if (field.is_number_unsigned()) {
    const auto value = field.get<std::uint64_t>();
    if (value > static_cast<std::uint64_t>(max)) Fail(key, range);
    return static_cast<std::int64_t>(value);
  }
  if (!field.is_number_integer()) Fail(key, range);
  const auto value = field.get<std::int64_t>();
  if (value < min || value > max) Fail(key, range);
  return value;
}

std::string JsonFields::Text(std::string_view key) const {
  const nlohmann::ordered_json& field = Field(key);
  if (!field.is_string()) Fail(key, "must be a string");
  return field.get<std::string>();
}

std::string JsonFields::Bytes(std::string_view key) const {
  std::optional<std::string> bytes = JsonToBytes(Text(key));
  if (!bytes) Fail(key, "must hold only the characters U+0000 to U+00FF");
  return std::move(*bytes);
}

bool JsonFields::Boolean(std::string_view key) const {
  const nlohmann::ordered_json& field = Field(key);
  if (!field.is_boolean()) Fail(key, "must be true or false");
  return field.get<bool>();
}

std::string JsonFields::Choice(std::string_view key,
                               std::initializer_list<std::string_view> words) const {
  const nlohmann::ordered_json& field = Field(key);
  std::string listed;
  for (const std::string_view word : words) {
    if (field.is_string() && field.get<std::string>() == word) return std::string(word);
    listed += (listed.empty() ? "\"" : ", \"") + std::string(word) + "\"";
  }
  Fail(key, "must be one of " + listed);
}

nlohmann::ordered_json ParseJsonObject(std::string_view text, std::string_view file) {
  nlohmann::ordered_json document;
  try {
    document = nlohmann::ordered_json::parse(text);
  } catch (const nlohmann::ordered_json::exception& error) {
    // A syntax error, and also a number too large for a double
    // (out_of_range): both are a file that cannot be read.
    throw MachineError(std::string(file) + ": not valid JSON (" + error.what() + ")");
  }
  if (!document.is_object()) throw MachineError(std::string(file) + ": must hold one object");
  return document;
}

}  // namespace qv::sim
