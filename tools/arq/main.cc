// arq, the archive tool.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <string>
#include <string_view>

#include "tools/arq/command_groups.h"
#include "tools/arq/terminal_text.h"

int main(int argc, char** argv) {
  CLI::App app{"arq: works on archives and packed streams of host files"};
  app.set_version_flag("--version", "arq " QV_VERSION);
  app.require_subcommand(1);
  int exit_code = qv::arq::kExitOk;
  qv::arq::AddArchiveCommands(app, exit_code);
  qv::arq::AddRawCommands(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& done) {
    return app.exit(done);  // --help, --version
  } catch (const CLI::RequiredError& error) {
    // The old --disks takes every word after it, the archive's name too.
    const bool swallowed = std::any_of(argv, argv + argc, [](const char* argument) {
      return std::string_view(argument) == "--disks";
    });
    return qv::arq::Complain(
        std::string(error.what()) + (swallowed ? " (--disks takes every word after it as a disk: "
                                                 "give each disk with --disk DIR, or put --disks "
                                                 "last)"
                                               : ""),
        qv::arq::kExitUsage);
  } catch (const CLI::ParseError& error) {
    return qv::arq::Complain(error.what(), qv::arq::kExitUsage);
  }
  return exit_code;
}
