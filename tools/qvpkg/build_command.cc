// qvpkg build TREE --part-number PN -o OUTDIR [--best] [-q]
#include <unistd.h>

#include <iostream>
#include <memory>

#include "tools/arq/progress_bar.h"
#include "tools/qvpkg/commands.h"
#include "tools/qvpkg/package_builder.h"

namespace qv::qvpkg {
namespace {

// The bar follows each file as the library packs it: with --best a large
// tree takes minutes.
ProgressCallback ShowOn(arq::ProgressBar& bar) {
  return [&bar](MemberRecord& record, std::int32_t event, std::int32_t value) {
    if (event == event::kAddProgress) {
      bar.Show(record.name_view(), static_cast<std::uint32_t>(value), record.unpacked_size);
    } else if (event == event::kAdded) {
      bar.Finished(record.unpacked_size);
    }
    return 0;
  };
}

}  // namespace

void AddBuildCommand(CLI::App& app) {
  auto request = std::make_shared<BuildRequest>();
  auto quiet = std::make_shared<bool>(false);
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
  command->add_flag("-q,--quiet", *quiet, "No progress line while packing");
  command->callback([request, quiet] {
    arq::ProgressBar bar(!*quiet && ::isatty(STDERR_FILENO) == 1);
    BuildRequest shown = *request;
    shown.progress = ShowOn(bar);
    const BuiltPackage built = BuildPackage(shown);
    bar.Clear();
    std::cout << "built " << built.package.header.part_number() << ": "
              << built.package.archive_file.string() << " (" << built.members.size() << " files, "
              << built.package.archive_bytes.size() << " bytes) and "
              << built.package.header_file.string() << "\n";
  });
}

}  // namespace qv::qvpkg
