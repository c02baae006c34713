#include "sim/desktop/section_reader.h"

#include <limits>

namespace qv::sim {

std::int64_t ReadInteger(const nlohmann::json& value, const std::string& path, std::int64_t min,
                         std::int64_t max) {
  std::optional<std::int64_t> number;
  if (value.is_number_unsigned()) {
    const auto unsigned_value = value.get<std::uint64_t>();
    if (unsigned_value <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      number = static_cast<std::int64_t>(unsigned_value);
    }
  } else if (value.is_number_integer()) {
    number = value.get<std::int64_t>();
  }
  if (!number || *number < min || *number > max) {
    throw SectionError(path + ": expected a whole number from " + std::to_string(min) + " to " +
                       std::to_string(max));
  }
  return *number;
}

std::string ReadString(const nlohmann::json& value, const std::string& path) {
  if (!value.is_string()) throw SectionError(path + ": expected a string");
  return value.get<std::string>();
}

const nlohmann::json& ReadArray(const nlohmann::json& value, const std::string& path) {
  if (!value.is_array()) throw SectionError(path + ": expected an array");
  return value;
}

ObjectReader::ObjectReader(const nlohmann::json& value, std::string path)
    : value_(value), path_(std::move(path)) {
  if (!value_.is_object()) throw SectionError(path_ + ": expected an object");
}

std::string ObjectReader::FieldPath(std::string_view key) const {
  return path_ + "." + std::string(key);
}

const nlohmann::json* ObjectReader::Find(std::string_view key) {
  read_.emplace(key);
  const auto found = value_.find(std::string(key));
  return found == value_.end() ? nullptr : &*found;
}

std::string ObjectReader::String(std::string_view key) {
  const std::optional<std::string> text = OptionalString(key);
  if (!text) throw SectionError(FieldPath(key) + ": missing");
  return *text;
}

std::optional<std::string> ObjectReader::OptionalString(std::string_view key) {
  const nlohmann::json* field = Find(key);
  if (field == nullptr) return std::nullopt;
  return ReadString(*field, FieldPath(key));
}

std::int64_t ObjectReader::Integer(std::string_view key, std::int64_t min, std::int64_t max) {
  const std::optional<std::int64_t> number = OptionalInteger(key, min, max);
  if (!number) throw SectionError(FieldPath(key) + ": missing");
  return *number;
}

std::optional<std::int64_t> ObjectReader::OptionalInteger(std::string_view key, std::int64_t min,
                                                          std::int64_t max) {
  const nlohmann::json* field = Find(key);
  if (field == nullptr) return std::nullopt;
  return ReadInteger(*field, FieldPath(key), min, max);
}

bool ObjectReader::Boolean(std::string_view key, bool fallback) {
  const nlohmann::json* field = Find(key);
  if (field == nullptr) return fallback;
  if (!field->is_boolean()) throw SectionError(FieldPath(key) + ": expected true or false");
  return field->get<bool>();
}

void ObjectReader::Finish() const {
  for (const auto& [key, unused] : value_.items()) {
    if (!read_.contains(key)) throw SectionError(FieldPath(key) + ": unknown field");
  }
}

}  // namespace qv::sim
