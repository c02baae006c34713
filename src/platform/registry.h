// The Registry port: keys and values below HKEY_LOCAL_MACHINE. Keys are named
// by their path below that root ("SOFTWARE\Halcyra\Quorvex\Loader"); names of
// keys and values compare without regard to case and keep the case they were
// created with. Every call returns the system's result code (registry calls
// return it rather than failing with a last error) and also leaves it as the
// last error when it is not kSuccess.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/outcome.h"
#include "platform/registry_value.h"

namespace qv::platform {

class Registry {
 public:
  virtual ~Registry() = default;

  // RegCreateKeyExA (KEY_ALL_ACCESS, non-volatile): opens the key, creating
  // it and any missing keys above it.
  virtual Outcome CreateKey(std::string_view key) = 0;
  // RegOpenKeyExA: kFileNotFound when the key does not exist.
  virtual Outcome OpenKey(std::string_view key) = 0;
  // RegDeleteKeyA: removes the key with everything below it.
  virtual Outcome DeleteKey(std::string_view key) = 0;
  // RegQueryValueExA with a buffer of `capacity` bytes: kFileNotFound for a
  // missing key or value, kMoreData when the data is longer than capacity.
  virtual Result<RegistryValue> QueryValue(std::string_view key, std::string_view name,
                                           std::size_t capacity) = 0;
  // RegSetValueExA on an existing key (kFileNotFound when it is missing).
  virtual Outcome SetValue(std::string_view key, std::string_view name,
                           const RegistryValue& value) = 0;
};

}  // namespace qv::platform
