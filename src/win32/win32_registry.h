// The Registry port on the system's registry (ADVAPI32), below
// HKEY_LOCAL_MACHINE.
#pragma once

#include "platform/registry.h"

namespace qv::win32 {

class Win32Registry : public platform::Registry {
 public:
  platform::Outcome CreateKey(std::string_view key) override;
  platform::Outcome OpenKey(std::string_view key) override;
  platform::Outcome DeleteKey(std::string_view key) override;
  platform::Result<platform::RegistryValue> QueryValue(std::string_view key, std::string_view name,
                                                       std::size_t capacity) override;
  platform::Outcome SetValue(std::string_view key, std::string_view name,
                             const platform::RegistryValue& value) override;
};

}  // namespace qv::win32
