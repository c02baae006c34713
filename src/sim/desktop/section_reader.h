// Checked reading of machine.json sections. Every refusal names the field
// ("desktop.windows[2].process: ..."), and objects with fields that nobody
// reads are refused, so that a misspelt name does not pass unnoticed.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace qv::sim {

class SectionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The outcome of parsing a section: a value, or the refusal's message.
template <typename T>
struct Parsed {
  std::optional<T> value;
  std::string error;

  explicit operator bool() const { return value.has_value(); }
};

// Runs parse() and turns a SectionError into a refusal.
template <typename T, typename Parse>
Parsed<T> ParseOrRefuse(Parse&& parse) {
  try {
    return {parse(), {}};
  } catch (const SectionError& error) {
    return {std::nullopt, error.what()};
  }
}

std::int64_t ReadInteger(const nlohmann::json& value, const std::string& path, std::int64_t min,
                         std::int64_t max);
std::string ReadString(const nlohmann::json& value, const std::string& path);
const nlohmann::json& ReadArray(const nlohmann::json& value, const std::string& path);

// The fields of one JSON object.
class ObjectReader {
 public:
  // Refuses a value that is not an object.
  ObjectReader(const nlohmann::json& value, std::string path);

  std::string FieldPath(std::string_view key) const;
  // The field's value, or nullptr when absent; the field counts as read.
  const nlohmann::json* Find(std::string_view key);

  std::string String(std::string_view key);
  std::optional<std::string> OptionalString(std::string_view key);
  std::int64_t Integer(std::string_view key, std::int64_t min, std::int64_t max);
  std::optional<std::int64_t> OptionalInteger(std::string_view key, std::int64_t min,
                                              std::int64_t max);
  bool Boolean(std::string_view key, bool fallback);

  // Calls visit(item, item_path) for each item of an array field, if present.
  template <typename Visit>
  void ForEachItem(std::string_view key, Visit visit) {
    const nlohmann::json* list = Find(key);
    if (list == nullptr) return;
    const std::string path = FieldPath(key);
    ReadArray(*list, path);
    for (std::size_t i = 0; i < list->size(); ++i) {
      visit((*list)[i], path + "[" + std::to_string(i) + "]");
    }
  }

  // Refuses the object when it has a field that was not read.
  void Finish() const;

 private:
  const nlohmann::json& value_;
  std::string path_;
  std::set<std::string, std::less<>> read_;
};

// What a section may hold besides the fields its parser reads: nothing, or
// fields that other parts of the simulator read (a shared section).
enum class OtherFields { kRefused, kAllowed };

// Parses a section that may be absent: null gives T's defaults, anything
// else must be an object whose fields fill(reader, value) reads.
template <typename T, typename Fill>
Parsed<T> ParseObjectSection(const nlohmann::json& section, const std::string& name, Fill fill,
                             OtherFields others = OtherFields::kRefused) {
  return ParseOrRefuse<T>([&] {
    T value{};
    if (section.is_null()) return value;
    ObjectReader reader(section, name);
    fill(reader, value);
    if (others == OtherFields::kRefused) reader.Finish();
    return value;
  });
}

}  // namespace qv::sim
