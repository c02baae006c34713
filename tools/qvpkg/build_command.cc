// qvpkg build TREE --part-number PN -o OUTDIR [--best]
#include <iostream>
#include <memory>

#include "tools/qvpkg/commands.h"
#include "tools/qvpkg/package_builder.h"

namespace qv::qvpkg {

void AddBuildCommand(CLI::App& app) {
  auto request = std::make_shared<BuildRequest>();
  CLI::App* command = app.add_subcommand(
      "build",
      "Build a package from a folder that mirrors drive C: (TREE/scope/bin/x.exe "
      "installs as c:\\scope\\bin\\x.exe)");
  command->add_option("TREE", request->tree, "The folder to pack")->required();
  command
      ->add_option("--part-number", request->part_number,
                   "The package's part number, at most 13 characters (written to the upgrade log)")
      ->required();
  command->add_option("-o,--output", request->output, "The folder to write the package into")
      ->required();
  command->add_flag("--best", request->best,
                    "Pack with the optimal parse: a smaller package, several times slower");
  command->callback([request] {
    const BuiltPackage built = BuildPackage(*request);
    std::cout << "built " << built.package.header.part_number() << ": "
              << built.package.archive_file.string() << " (" << built.members.size() << " files, "
              << built.package.archive_bytes.size() << " bytes) and "
              << built.package.header_file.string() << "\n";
  });
}

}  // namespace qv::qvpkg
