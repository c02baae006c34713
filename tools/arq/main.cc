// arq, the archive tool.
#include <CLI/CLI.hpp>
#include <iostream>

#include "tools/arq/command_groups.h"

int main(int argc, char** argv) {
  CLI::App app{"arq: works on archives and packed streams of host files"};
  app.require_subcommand(1);
  int exit_code = qv::arq::kExitOk;
  qv::arq::AddArchiveCommands(app, exit_code);
  qv::arq::AddRawCommands(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    std::cerr << "arq: " << error.what() << "\n";
    return qv::arq::kExitUsage;
  }
  return exit_code;
}
