#include "win32/win32_registry.h"

#include <string>

#include "win32/run_time_call.h"
#include "win32/windows_api.h"

namespace qv::win32 {

using platform::Failure;
using platform::Outcome;
using platform::Result;

namespace {

// Registry calls return their code instead of leaving it as the last error;
// the port leaves it there too.
Outcome Returned(LONG code) {
  if (code == ERROR_SUCCESS) return {};
  return Leave(Failure::System(static_cast<platform::WinError>(code)));
}

// An open key, closed when it goes.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (handle_ != nullptr) ::RegCloseKey(handle_);
  }
  LONG Open(HKEY parent, std::string_view name, REGSAM access) {
    return ::RegOpenKeyExA(parent, std::string(name).c_str(), 0, access, &handle_);
  }
  LONG Create(std::string_view name) {
    return ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, std::string(name).c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &handle_, nullptr);
  }
  HKEY get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

// Deletes a key and everything below it: the system deletes only keys
// without subkeys (Windows 98 deletes the whole tree itself).
LONG DeleteTree(HKEY parent, const std::string& name) {
  {
    Key key;
    if (const LONG opened = key.Open(parent, name, KEY_ALL_ACCESS); opened != ERROR_SUCCESS) {
      return opened;
    }
    std::string subkey(MAX_PATH + 1, '\0');
    // Always the first subkey: each one found is deleted before the next.
    for (DWORD size = MAX_PATH + 1; ::RegEnumKeyExA(key.get(), 0, subkey.data(), &size, nullptr,
                                                    nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         size = MAX_PATH + 1) {
      if (const LONG deleted = DeleteTree(key.get(), subkey.substr(0, size));
          deleted != ERROR_SUCCESS) {
        return deleted;
      }
    }
  }
  return ::RegDeleteKeyA(parent, name.c_str());
}

}  // namespace

Outcome Win32Registry::CreateKey(std::string_view key) {
  Key created;
  return Returned(created.Create(key));
}

Outcome Win32Registry::OpenKey(std::string_view key) {
  Key opened;
  return Returned(opened.Open(HKEY_LOCAL_MACHINE, key, KEY_READ));
}

Outcome Win32Registry::DeleteKey(std::string_view key) {
  return Returned(DeleteTree(HKEY_LOCAL_MACHINE, std::string(key)));
}

Result<platform::RegistryValue> Win32Registry::QueryValue(std::string_view key,
                                                          std::string_view name,
                                                          std::size_t capacity) {
  Key opened;
  if (const Outcome open = Returned(opened.Open(HKEY_LOCAL_MACHINE, key, KEY_QUERY_VALUE)); !open) {
    return *open.failure();
  }
  platform::RegistryValue value;
  value.data.resize(capacity);
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(capacity);
  // Without a buffer the system would answer with the size alone.
  std::uint8_t no_room = 0;
  const LONG queried = ::RegQueryValueExA(opened.get(), std::string(name).c_str(), nullptr, &type,
                                          capacity == 0 ? &no_room : value.data.data(), &size);
  if (const Outcome answered = Returned(queried); !answered) return *answered.failure();
  value.type = static_cast<platform::RegistryType>(type);
  value.data.resize(size);
  return value;
}

Outcome Win32Registry::SetValue(std::string_view key, std::string_view name,
                                const platform::RegistryValue& value) {
  Key opened;
  if (const Outcome open = Returned(opened.Open(HKEY_LOCAL_MACHINE, key, KEY_SET_VALUE)); !open) {
    return open;
  }
  return Returned(::RegSetValueExA(opened.get(), std::string(name).c_str(), 0,
                                   static_cast<DWORD>(value.type), value.data.data(),
                                   static_cast<DWORD>(value.data.size())));
}

}  // namespace qv::win32
