// The machine's registry.json: HKEY_LOCAL_MACHINE as a person can read it,
// every key by its full path, every value with its type and exact bytes.
//
//   { "HKEY_LOCAL_MACHINE": {
//       "SOFTWARE\\Halcyra\\Quorvex\\Loader\\Processes": {
//         "NumberOfProcs": { "type": "REG_DWORD", "dword": 9 },
//         "Proc0": { "type": "REG_SZ", "text": "Program Manager", "terminated": false } } } }
//
// A REG_SZ is its text plus whether a terminating zero byte follows it; a
// REG_DWORD of four bytes is its number; anything else is "hex" bytes. Text
// bytes are written as the characters of the same number (see latin1.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_value.h"

namespace qv::sim {

struct RegistryEntry {
  std::string name;
  platform::RegistryValue value;
};

struct RegistryKey {
  std::string path;                   // below HKEY_LOCAL_MACHINE, as created
  std::vector<RegistryEntry> values;  // in the order they were first set
};

// Throws MachineError naming the key and value that are malformed.
std::vector<RegistryKey> ParseRegistry(std::string_view text);
std::string FormatRegistry(const std::vector<RegistryKey>& keys);

}  // namespace qv::sim
