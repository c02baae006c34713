// qvpkg: builds upgrade packages for the instrument and installs them on a
// simulated one.
#include <iostream>

#include "tools/qvpkg/commands.h"

int main(int argc, char** argv) {
  CLI::App app(
      "Upgrade packages: build one from a folder that mirrors drive C:, look into one, put one "
      "on a simulated instrument.",
      "qvpkg");
  app.set_version_flag("--version", "qvpkg " QV_VERSION);
  app.require_subcommand(1);
  qv::qvpkg::AddBuildCommand(app);
  qv::qvpkg::AddInstallCommand(app);
  qv::qvpkg::AddInspectCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& done) {
    return app.exit(done);  // --help, --version
  } catch (const CLI::ParseError& wrong) {
    std::cerr << "qvpkg: " << wrong.what() << "\n";
    return 2;
  } catch (const std::exception& failure) {
    std::cerr << "qvpkg: " << failure.what() << "\n";
    return 1;
  }
  return 0;
}
