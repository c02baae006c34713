// qvsim: the simulated instrument on the command line.
#include <iostream>

#include "tools/qvsim/commands.h"

int main(int argc, char** argv) {
  CLI::App app(
      "The simulated instrument: make a machine folder, boot the loader on it, "
      "look at what it did.",
      "qvsim");
  app.set_version_flag("--version", "qvsim " QV_VERSION);
  app.require_subcommand(1);
  qv::qvsim::AddNewCommand(app);
  qv::qvsim::AddBootCommand(app);
  qv::qvsim::AddRunCommand(app);
  qv::qvsim::AddShowCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& done) {
    return app.exit(done);  // --help, --version
  } catch (const CLI::ParseError& wrong) {
    std::cerr << "qvsim: " << wrong.what() << "\n";
    return 2;
  } catch (const std::exception& failure) {
    std::cerr << "qvsim: " << failure.what() << "\n";
    return 1;
  }
  return 0;
}
