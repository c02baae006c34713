#include "tests/wine/helper_registry.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "tests/wine/helper_text.h"

namespace qv::wine_test {
namespace {

// Subkey names in name order, as the simulator's registry file lists keys.
std::set<std::string> Subkeys(HKEY key) {
  std::set<std::string> names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.insert(std::string(name, size));
  }
  return names;
}

void PrintValues(HKEY key, const std::string& path) {
  char name[256];
  std::vector<BYTE> data(4096);
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof name;
    DWORD data_size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (::RegEnumValueA(key, i, name, &name_size, nullptr, &type, data.data(), &data_size) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::string shown = Shown(path + "\\" + std::string(name, name_size));
    if (type == REG_SZ) {
      std::string text(reinterpret_cast<const char*>(data.data()), data_size);
      if (!text.empty() && text.back() == '\0') text.pop_back();
      std::printf("value %s sz %s\n", shown.c_str(), Shown(text).c_str());
    } else if (type == REG_DWORD && data_size == 4) {
      DWORD number = 0;
      std::memcpy(&number, data.data(), 4);
      std::printf("value %s dword %lu\n", shown.c_str(), static_cast<unsigned long>(number));
    } else {
      std::printf("value %s type %lu, %lu bytes\n", shown.c_str(), static_cast<unsigned long>(type),
                  static_cast<unsigned long>(data_size));
    }
  }
}

void PrintTree(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  PrintValues(key, path);
  const std::set<std::string> subkeys = Subkeys(key);
  ::RegCloseKey(key);
  for (const std::string& subkey : subkeys)
    PrintTree(path + "\\" + subkey);
}

void DeleteTree(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  const std::set<std::string> subkeys = Subkeys(key);
  ::RegCloseKey(key);
  for (const std::string& subkey : subkeys)
    DeleteTree(path + "\\" + subkey);
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

}  // namespace

void ForgetKey(const std::string& key) {
  DeleteTree(key);
}

void PrintKey(const std::string& key) {
  PrintTree(key);
  std::fflush(stdout);
}

}  // namespace qv::wine_test
