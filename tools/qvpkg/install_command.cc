// qvpkg install OUTDIR MACHINE
#include <iostream>
#include <memory>

#include "tools/qvpkg/commands.h"
#include "tools/qvpkg/package_install.h"

namespace qv::qvpkg {

void AddInstallCommand(CLI::App& app) {
  struct Arguments {
    std::string package;
    std::string machine;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "install", "Put a built package into a simulated instrument's staging folder");
  command->add_option("OUTDIR", arguments->package, "The folder qvpkg build wrote")->required();
  command->add_option("MACHINE", arguments->machine, "The machine folder (qvsim new)")->required();
  command->callback([arguments] {
    const Package package = ReadPackage(arguments->package);
    InstallPackage(package, arguments->machine);
    std::cout << "installed " << package.header.part_number() << " in " << arguments->machine
              << " (c:\\scope\\upgrade\\scope\\temp)\n";
  });
}

}  // namespace qv::qvpkg
