#include "sim/attribute_store.h"

#include <nlohmann/json.hpp>

#include "sim/host_io.h"
#include "sim/json_fields.h"
#include "sim/latin1.h"

namespace qv::sim {

namespace fs = std::filesystem;
using platform::AttributeWord;
namespace attribute = platform::attribute;

namespace {

constexpr std::string_view kFileName = "attributes.json";

struct Word {
  std::string_view name;
  AttributeWord bit;
};
constexpr Word kWords[] = {{"readonly", attribute::kReadOnly},
                           {"hidden", attribute::kHidden},
                           {"system", attribute::kSystem},
                           {"archive", attribute::kArchive}};

// "C:\a\b" -> the location; nullopt for anything else.
std::optional<platform::DosLocation> ParseLocation(const std::string& text) {
  const auto path = platform::DosPath::Parse(text);
  if (!path || path->drive == 0 || !path->rooted) return std::nullopt;
  return platform::Locate(*path, platform::DosLocation{path->drive, {}});
}

}  // namespace

AttributeWord AttributeStore::Kept(bool folder) {
  return attribute::kHidden | attribute::kSystem | attribute::kArchive |
         (folder ? attribute::kReadOnly : 0);
}

AttributeWord AttributeStore::Default(bool folder) {
  return folder ? 0 : attribute::kArchive;
}

AttributeStore::AttributeStore(fs::path file, platform::CodePage page)
    : file_(std::move(file)), page_(page) {
  const std::optional<std::string> text = ReadWholeFile(file_);
  if (!text) return;
  const nlohmann::ordered_json document = ParseJsonObject(*text, kFileName);
  for (const auto& [key, words] : document.items()) {
    const std::string where = std::string(kFileName) + ": " + key;
    const std::optional<std::string> path = JsonToBytes(key);
    const auto location = path ? ParseLocation(*path) : std::nullopt;
    if (!location) throw MachineError(where + ": not a full DOS path");
    if (!words.is_array()) throw MachineError(where + ": must be a list of attribute names");
    Stored stored{location->ToString(), 0};
    for (const auto& word : words) {
      bool known = false;
      for (const Word& entry : kWords) {
        if (word.is_string() && word.get<std::string>() == entry.name) {
          stored.bits |= entry.bit;
          known = true;
        }
      }
      if (!known) {
        throw MachineError(where +
                           ": attributes are \"readonly\", \"hidden\", \"system\", \"archive\"");
      }
    }
    entries_[Key(*location)] = stored;
  }
}

std::string AttributeStore::Key(const platform::DosLocation& entry) const {
  return platform::FoldName(page_, entry.ToString());
}

AttributeWord AttributeStore::Get(const platform::DosLocation& entry, bool folder) const {
  const auto found = entries_.find(Key(entry));
  return found == entries_.end() ? Default(folder) : found->second.bits & Kept(folder);
}

void AttributeStore::Set(const platform::DosLocation& entry, bool folder, AttributeWord bits) {
  bits &= Kept(folder);
  const std::string key = Key(entry);
  const auto found = entries_.find(key);
  if (bits == Default(folder)) {
    if (found == entries_.end()) return;
    entries_.erase(found);
  } else {
    if (found != entries_.end() && found->second.bits == bits) return;
    entries_[key] = {entry.ToString(), bits};
  }
  Save();
}

void AttributeStore::Forget(const platform::DosLocation& entry) {
  const std::string key = Key(entry);
  const std::string below = key.back() == '\\' ? key : key + '\\';
  const std::size_t before = entries_.size();
  std::erase_if(entries_, [&](const auto& item) {
    return item.first == key || item.first.starts_with(below);
  });
  if (entries_.size() != before) Save();
}

void AttributeStore::Move(const platform::DosLocation& from, const platform::DosLocation& to) {
  const std::string key = Key(from);
  const std::string below = key + '\\';
  std::map<std::string, Stored> moved;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first == key || it->first.starts_with(below)) {
      Stored stored = it->second;
      stored.path = to.ToString() + stored.path.substr(from.ToString().size());
      moved[platform::FoldName(page_, stored.path)] = stored;
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  Forget(to);
  if (moved.empty()) return;
  entries_.merge(moved);
  Save();
}

void AttributeStore::Save() const {
  nlohmann::ordered_json document = nlohmann::ordered_json::object();
  for (const auto& [key, stored] : entries_) {
    nlohmann::ordered_json words = nlohmann::ordered_json::array();
    for (const Word& word : kWords) {
      if (stored.bits & word.bit) words.push_back(word.name);
    }
    document[BytesToJson(stored.path)] = words;
  }
  WriteFileAtomically(file_, document.dump(2) + "\n");
}

}  // namespace qv::sim
