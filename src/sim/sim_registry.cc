#include "sim/sim_registry.h"

#include <algorithm>

#include "platform/code_page.h"
#include "sim/host_io.h"
#include "sim/json_fields.h"

namespace qv::sim {

using platform::Outcome;
using platform::RegistryValue;
using platform::Result;
using platform::WinError;

namespace {

constexpr std::size_t kMaxKeyName = 255;

std::string Fold(std::string_view text) {
  return platform::FoldName(platform::CodePage::kWestern, text);
}

}  // namespace

SimRegistry::SimRegistry(std::filesystem::path file, std::shared_ptr<ThreadState> thread)
    : file_(std::move(file)), thread_(std::move(thread)) {
  const std::optional<std::string> text = ReadWholeFile(file_);
  if (!text) return;
  for (RegistryKey& key : ParseRegistry(*text)) {
    const std::optional<std::string> folded = KeyOf(key.path);
    if (!folded) {
      throw MachineError("registry.json: HKEY_LOCAL_MACHINE: \"" + key.path +
                         "\" is not a key name");
    }
    // Keys above a listed key exist too.
    for (std::size_t cut = key.path.find('\\'); cut != std::string::npos;
         cut = key.path.find('\\', cut + 1)) {
      keys_.try_emplace(Fold(key.path.substr(0, cut)), RegistryKey{key.path.substr(0, cut), {}});
    }
    keys_[*folded] = std::move(key);
  }
}

std::optional<std::string> SimRegistry::KeyOf(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size() && !path.empty()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end == start || end - start > kMaxKeyName) return std::nullopt;
    start = end + 1;
  }
  return Fold(path);
}

platform::Failure SimRegistry::Fail(WinError error) {
  thread_->last_error = error;
  return platform::Failure::System(error);
}

Outcome SimRegistry::CreateKey(std::string_view key) {
  const std::optional<std::string> folded = KeyOf(key);
  if (!folded) return Fail(WinError::kBadPathname);
  if (folded->empty() || keys_.contains(*folded)) return {};
  for (std::size_t cut = 0; cut != std::string_view::npos;) {
    cut = key.find('\\', cut + 1);
    const std::string_view prefix = key.substr(0, cut);
    keys_.try_emplace(Fold(prefix), RegistryKey{std::string(prefix), {}});
  }
  Save();
  return {};
}

Outcome SimRegistry::OpenKey(std::string_view key) {
  const std::optional<std::string> folded = KeyOf(key);
  if (!folded) return Fail(WinError::kBadPathname);
  if (!folded->empty() && !keys_.contains(*folded)) return Fail(WinError::kFileNotFound);
  return {};
}

Outcome SimRegistry::DeleteKey(std::string_view key) {
  const std::optional<std::string> folded = KeyOf(key);
  if (!folded) return Fail(WinError::kBadPathname);
  if (folded->empty()) return Fail(WinError::kAccessDenied);
  if (!keys_.contains(*folded)) return Fail(WinError::kFileNotFound);
  std::erase_if(keys_, [&](const auto& entry) {
    return entry.first == *folded || entry.first.starts_with(*folded + '\\');
  });
  Save();
  return {};
}

Result<RegistryValue> SimRegistry::QueryValue(std::string_view key, std::string_view name,
                                              std::size_t capacity) {
  const std::optional<std::string> folded = KeyOf(key);
  if (!folded) return Fail(WinError::kBadPathname);
  const auto found = keys_.find(*folded);
  if (found == keys_.end()) return Fail(WinError::kFileNotFound);
  const std::string wanted = Fold(name);
  for (const RegistryEntry& entry : found->second.values) {
    if (Fold(entry.name) != wanted) continue;
    if (entry.value.data.size() > capacity) return Fail(WinError::kMoreData);
    return entry.value;
  }
  return Fail(WinError::kFileNotFound);
}

Outcome SimRegistry::SetValue(std::string_view key, std::string_view name,
                              const RegistryValue& value) {
  const std::optional<std::string> folded = KeyOf(key);
  if (!folded) return Fail(WinError::kBadPathname);
  if (folded->empty()) keys_.try_emplace("", RegistryKey{"", {}});
  const auto found = keys_.find(*folded);
  if (found == keys_.end()) return Fail(WinError::kFileNotFound);
  std::vector<RegistryEntry>& values = found->second.values;
  const std::string wanted = Fold(name);
  const auto same = std::find_if(values.begin(), values.end(),
                                 [&](const RegistryEntry& e) { return Fold(e.name) == wanted; });
  if (same != values.end()) {
    same->value = value;
  } else {
    values.push_back({std::string(name), value});
  }
  Save();
  return {};
}

void SimRegistry::Save() const {
  std::vector<RegistryKey> keys;
  for (const auto& [folded, key] : keys_)
    keys.push_back(key);
  WriteFileAtomically(file_, FormatRegistry(keys));
}

}  // namespace qv::sim
