// Making a new machine folder: the default instrument, or one with another
// model code, memory size, or a floppy disk in drive A:.
#pragma once

#include <cstdint>
#include <filesystem>

namespace qv::sim {

struct NewMachineOptions {
  int model_code = 1;  // 0..7, the model register's byte
  std::uint64_t memory_mib = 32;
  bool floppy = false;  // an empty disk in drive A:
};

// Writes the machine: machine.json, an empty registry, drive C: with the
// c:\scope folders, stand-ins for the scope programs, the pre-loader and the
// loader itself, and c:\windows with its temp and system folders. The folder
// must not exist or be empty. It is built beside its place and moved there
// whole, so a failure leaves nothing behind; throws MachineError.
void WriteNewMachine(const std::filesystem::path& folder, const NewMachineOptions& options);

}  // namespace qv::sim
