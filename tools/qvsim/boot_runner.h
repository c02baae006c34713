// One boot of a machine folder as the commands run it: the loader on the
// simulated instrument, its transcript on the terminal as it happens, then
// where the screen pictures it took lie (the last one named so).
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "sim/boot.h"

namespace qv::qvsim {

struct BootSettings {
  bool real_time = false;
  bool interactive = false;
  // The loader's command line instead of the one machine.json gives.
  std::optional<std::string> command_line;
  // A later boot of a run keeps the pictures of the earlier ones.
  bool later_boot_of_run = false;
  // The power goes right after this write of the boot (counting from 1).
  std::optional<int> cut_after_write;
};

// Throws sim::MachineError for a folder that is no machine, and
// std::runtime_error when the boot had to be stopped (its state is written).
sim::BootOutcome BootOnce(const std::filesystem::path& folder, const BootSettings& settings,
                          std::ostream& out);

}  // namespace qv::qvsim
