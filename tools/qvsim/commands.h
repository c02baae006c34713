// The subcommands of qvsim. Each adds itself to the program; a command that
// fails throws sim::MachineError (or another std::exception) with a one-line
// message, which main prints.
#pragma once

#include <CLI/CLI.hpp>

namespace qv::qvsim {

void AddNewCommand(CLI::App& app);
void AddBootCommand(CLI::App& app);
void AddRunCommand(CLI::App& app);
void AddShowCommand(CLI::App& app);

}  // namespace qv::qvsim
