// Reading the machine's JSON files with messages that name the field: every
// refusal says which file and which field, so that a person can mend it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace qv::sim {

// A machine folder that cannot be used, with a one-line reason.
class MachineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One JSON object of a file, read field by field.
class JsonFields {
 public:
  // where: the file and the object's path, "machine.json" or
  // "machine.json: board".
  JsonFields(const nlohmann::ordered_json& object, std::string where);

  bool Has(std::string_view key) const;
  JsonFields Object(std::string_view key) const;
  std::int64_t Integer(std::string_view key, std::int64_t min, std::int64_t max) const;
  std::string Text(std::string_view key) const;
  // A byte string, stored as the characters U+0000..U+00FF (see latin1.h).
  std::string Bytes(std::string_view key) const;
  bool Boolean(std::string_view key) const;
  // One of the listed words; the message lists them.
  std::string Choice(std::string_view key, std::initializer_list<std::string_view> words) const;

  const nlohmann::ordered_json& json() const { return object_; }
  [[noreturn]] void Fail(std::string_view key, std::string_view problem) const;

 private:
  const nlohmann::ordered_json& Field(std::string_view key) const;
  std::string Name(std::string_view key) const;

  const nlohmann::ordered_json& object_;
  std::string where_;
};

// Parses a whole file as one JSON object; refuses anything else.
nlohmann::ordered_json ParseJsonObject(std::string_view text, std::string_view file);

}  // namespace qv::sim
