#include "detector/ignore_list.h"

#include <algorithm>
#include <optional>
#include <string>

namespace qv::detector {
namespace {

using platform::RegistryValue;

// The size of the buffers the names are read into.
constexpr std::size_t kEntryNameBufferSize = 255;
constexpr std::size_t kCountBufferSize = 4;

std::string EntryName(std::uint32_t index) {
  return "Proc" + std::to_string(index);
}

// The count's four bytes, whatever type they were stored as.
std::optional<std::uint32_t> StoredCount(const RegistryValue& value) {
  if (value.data.size() != kCountBufferSize) return std::nullopt;
  return std::uint32_t{value.data[0]} | std::uint32_t{value.data[1]} << 8 |
         std::uint32_t{value.data[2]} << 16 | std::uint32_t{value.data[3]} << 24;
}

}  // namespace

bool IgnoreList::Load() {
  entries_.clear();
  skip_.clear();
  if (!registry_.CreateKey(kLoaderKey) || !registry_.OpenKey(kProcessesKey)) return false;
  const platform::Result<RegistryValue> count_value =
      registry_.QueryValue(kProcessesKey, kCountValue, kCountBufferSize);
  if (!count_value) return false;
  const std::optional<std::uint32_t> count = StoredCount(*count_value);
  if (!count || !PlausibleCount(*count)) return false;
  for (std::uint32_t i = 0; i < *count; ++i) {
    const platform::Result<RegistryValue> entry =
        registry_.QueryValue(kProcessesKey, EntryName(i), kEntryNameBufferSize);
    if (!entry) {
      helpers_.SystemErrorBox();
      continue;
    }
    Add(entry->AsText());
  }
  stored_ = true;
  return true;
}

bool IgnoreList::PlausibleCount(std::uint32_t count) {
  return count <= kMaxStoredEntries ||
         registry_.QueryValue(kProcessesKey, EntryName(count - 1), kEntryNameBufferSize).ok();
}

void IgnoreList::MergeDefaults() {
  if (!stored_) Load();
  bool changed = false;
  for (const std::string_view name : kMergeDefaults) {
    if (std::find(entries_.begin(), entries_.end(), name) != entries_.end()) continue;
    Add(name);
    changed = true;
  }
  if (changed) Save();
}

void IgnoreList::ResetToDefaults() {
  entries_.assign(kResetDefaults.begin(), kResetDefaults.end());
  skip_.assign(kResetDefaults.begin(), kResetDefaults.end());
  Save();
}

void IgnoreList::Save() {
  stored_ = true;
  if (!registry_.CreateKey(kLoaderKey)) return;
  registry_.DeleteKey(kProcessesKey);  // absent on a first save
  if (!registry_.CreateKey(kProcessesKey)) return;
  // An empty list leaves the subkey without a count, so the next load
  // fails and brings the built-in names back.
  if (entries_.empty()) return;
  std::uint32_t index = 0;
  for (const std::string& name : entries_) {
    registry_.SetValue(kProcessesKey, EntryName(index), RegistryValue::String(name));
    ++index;
  }
  registry_.SetValue(kProcessesKey, kCountValue, RegistryValue::Dword(index));
}

void IgnoreList::AddAndSave(std::string_view name) {
  Add(name);
  Save();
}

void IgnoreList::Add(std::string_view name) {
  entries_.emplace_back(name);
  skip_.emplace_back(name);
}

}  // namespace qv::detector
