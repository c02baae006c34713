#include "sim/new_machine.h"

#include <unistd.h>

#include <fstream>
#include <string>

#include "sim/json_fields.h"
#include "sim/machine_config.h"

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

constexpr const char* kScopeFolders[] = {"bin",      "cal",     "data",     "masks",
                                         "memories", "probes",  "selftest", "setups",
                                         "temp",     "upgrade", "old_rev"};
constexpr const char* kWindowsFolders[] = {"temp", "system"};
constexpr const char* kPrograms[] = {"qv7311x.exe", "qv7314x.exe", "preldr.exe", "qv731Ldr.exe"};

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  if (!out.flush()) throw MachineError(file.string() + ": cannot be written");
}

MachineConfig DefaultConfig(const NewMachineOptions& options) {
  MachineConfig config;
  config.board.model_register = static_cast<std::uint8_t>(options.model_code);
  config.memory_bytes = options.memory_mib << 20;
  config.drives = {DefaultDrive('A', platform::DriveType::kRemovable),
                   DefaultDrive('C', platform::DriveType::kFixed)};
  config.document = {{"desktop", nlohmann::ordered_json::object()},
                     {"operator", nlohmann::ordered_json::object()}};
  return config;
}

void Build(const fs::path& folder, const NewMachineOptions& options) {
  fs::create_directories(folder / "state");
  const fs::path c = folder / "drives" / "C";
  for (const char* name : kScopeFolders)
    fs::create_directories(c / "scope" / name);
  for (const char* name : kWindowsFolders)
    fs::create_directories(c / "windows" / name);
  for (const char* program : kPrograms) {
    WriteText(c / "scope" / "bin" / program, std::string("stand-in for ") + program + "\r\n");
  }
  if (options.floppy) fs::create_directories(folder / "drives" / "A");
  WriteText(folder / "machine.json", DefaultConfig(options).ToJson().dump(2) + "\n");
  WriteText(folder / "registry.json", "{\n  \"HKEY_LOCAL_MACHINE\": {}\n}\n");
  WriteText(folder / "attributes.json", "{}\n");
}

}  // namespace

void WriteNewMachine(const fs::path& folder, const NewMachineOptions& options) {
  if (options.model_code < 0 || options.model_code > 7) {
    throw MachineError("the model code must be from 0 to 7");
  }
  if (options.memory_mib < 1 || options.memory_mib > 4096) {
    throw MachineError("the memory size must be from 1 to 4096 MiB");
  }
  std::error_code error;
  if (fs::exists(fs::symlink_status(folder, error)) &&
      (!fs::is_directory(fs::symlink_status(folder, error)) || !fs::is_empty(folder, error))) {
    throw MachineError(folder.string() + ": already exists and is not an empty folder");
  }
  const fs::path target = fs::absolute(folder, error);
  const fs::path building = target.parent_path() / ("." + target.filename().string() + ".new-" +
                                                    std::to_string(::getpid()));
  fs::remove_all(building, error);
  try {
    Build(building, options);
    fs::rename(building, target);
  } catch (const std::exception& failure) {
    fs::remove_all(building, error);
    if (dynamic_cast<const MachineError*>(&failure)) throw;
    throw MachineError(folder.string() + ": cannot be made (" + failure.what() + ")");
  }
}

}  // namespace qv::sim
