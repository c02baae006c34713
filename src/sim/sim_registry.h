// The Registry port of the simulated instrument, kept in the machine's
// registry.json, which is rewritten in one step after every change.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/registry.h"
#include "sim/registry_json.h"
#include "sim/thread_state.h"

namespace qv::sim {

class SimRegistry : public platform::Registry {
 public:
  // Reads the file if it exists (an absent file is an empty registry);
  // throws MachineError when it is malformed.
  SimRegistry(std::filesystem::path file, std::shared_ptr<ThreadState> thread);

  platform::Outcome CreateKey(std::string_view key) override;
  platform::Outcome OpenKey(std::string_view key) override;
  platform::Outcome DeleteKey(std::string_view key) override;
  platform::Result<platform::RegistryValue> QueryValue(std::string_view key, std::string_view name,
                                                       std::size_t capacity) override;
  platform::Outcome SetValue(std::string_view key, std::string_view name,
                             const platform::RegistryValue& value) override;

 private:
  // The folded path of a key, or nullopt for a malformed one.
  static std::optional<std::string> KeyOf(std::string_view path);
  platform::Failure Fail(platform::WinError error);
  void Save() const;

  std::filesystem::path file_;
  std::shared_ptr<ThreadState> thread_;
  std::map<std::string, RegistryKey> keys_;  // by folded path
};

}  // namespace qv::sim
