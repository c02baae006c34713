// One boot of a machine: the instrument's power-on, one run of the loader
// until its process ends, and what the boot leaves in state/: the
// transcript, the screen pictures (whenever a message box waited for an
// answer, and once at the end) and launched.json, the program started last
// (absent when the loader started none). A display mode the loader stored
// for later starts goes into machine.json for the next boot.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/machine.h"

namespace qv::sim {

// The loader's process: runs on the ports and returns its exit code when it
// ends by returning.
using LoaderProcess = std::function<int(platform::Platform)>;

struct BootOutcome {
  RunEnd end;
  bool reboot_accepted = false;          // an accepted reboot request was made
  std::optional<ProgramStart> launched;  // the last program started
  bool left_waiting = false;             // the loader sat in its message loop
  std::vector<std::filesystem::path> pictures;
  // What went wrong beside the loader (a picture that could not be written).
  std::vector<std::string> warnings;
};

struct BootOptions {
  // Leaves the pictures of earlier boots (of the same run) and numbers the
  // new ones after them; otherwise the boot removes them first.
  bool keep_earlier_pictures = false;
};

// Throws std::runtime_error when state/ cannot be written.
BootOutcome Boot(Machine& machine, const LoaderProcess& loader, BootOptions options = {});

// Whether the program is one of the scope applications (its file name).
bool IsScopeApplication(std::string_view program);

}  // namespace qv::sim
