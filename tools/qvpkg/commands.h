// The subcommands of qvpkg. Each adds itself to the program; a command that
// fails throws an exception with a one-line message, which main prints.
#pragma once

#include <CLI/CLI.hpp>

namespace qv::qvpkg {

void AddBuildCommand(CLI::App& app);
void AddInstallCommand(CLI::App& app);
void AddInspectCommand(CLI::App& app);

}  // namespace qv::qvpkg
