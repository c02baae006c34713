// arq's subcommands come in groups, one file each; main adds every group to
// the command line. A subcommand that runs stores its exit code in
// `exit_code`: 0 success, 1 the work failed, 2 bad arguments or unreadable
// input (with a one-line message on stderr).
#pragma once

#include <CLI/CLI.hpp>

namespace qv::arq {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// raw-pack and raw-unpack: bare packed streams, no archive around them.
void AddRawCommands(CLI::App& app, int& exit_code);

// l, t, x, a, d: archives through the archive library, on host files.
void AddArchiveCommands(CLI::App& app, int& exit_code);

}  // namespace qv::arq
