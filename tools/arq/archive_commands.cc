// The archive subcommands on the command line: l, t, x, a, d.
#include <algorithm>
#include <memory>
#include <thread>

#include "tools/arq/archive_command.h"
#include "tools/arq/command_groups.h"

namespace qv::arq {
namespace {

void AddDiskOptions(CLI::App* command, ArchiveOptions& options) {
  CLI::Option* each = command->add_option(
      "--disk", options.disks,
      "a folder that stands for a removable disk; give one --disk per disk, in the order "
      "they are inserted");
  each->allow_extra_args(false);
  command
      ->add_option("--disks", options.disks,
                   "the same folders at once (every word after it is one: put it last)")
      ->expected(1, -1)
      ->excludes(each);
  command->add_option("--disk-size", options.disk_size, "capacity of each disk in bytes")
      ->check(CLI::Range(kSmallestDiskSize, std::uint64_t{1} << 32))
      ->capture_default_str();
}

void AddThreadsOption(CLI::App* command, ArchiveOptions& options, std::string_view work) {
  options.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
  command
      ->add_option("--threads", options.threads,
                   "threads that " + std::string(work) +
                       " members, giving the same result as one (default: one per core; 1 " +
                       std::string(work) + "s each member in turn)")
      ->check(CLI::Range(1, 256))
      ->capture_default_str();
}

// Runs `run` with the options, turning a failure to set up the drives into
// a message and exit code 2.
template <class Run>
void Wire(CLI::App* command, const std::shared_ptr<ArchiveOptions>& options, int& exit_code,
          Run run) {
  command->callback([options, &exit_code, run] {
    try {
      exit_code = run(*options);
    } catch (const std::runtime_error& error) {
      exit_code = Complain(error.what(), kExitUsage);
    }
  });
}

}  // namespace

void AddArchiveCommands(CLI::App& app, int& exit_code) {
  const auto options = std::make_shared<ArchiveOptions>();

  CLI::App* list = app.add_subcommand("l", "List the members of ARCHIVE");
  list->add_option("ARCHIVE", options->archive, "the archive")->required();
  list->add_flag("--json", options->json, "print one JSON document");
  AddDiskOptions(list, *options);
  Wire(list, options, exit_code, ListArchive);

  CLI::App* test = app.add_subcommand("t", "Test every member of ARCHIVE (CRC check)");
  test->add_option("ARCHIVE", options->archive, "the archive")->required();
  test->add_flag("-q,--quiet", options->quiet, "no progress bar, no summary");
  AddDiskOptions(test, *options);
  Wire(test, options, exit_code, TestArchive);

  CLI::App* extract = app.add_subcommand("x", "Extract members of ARCHIVE");
  extract->add_option("ARCHIVE", options->archive, "the archive")->required();
  extract->add_option("PATTERN", options->items, "members to extract (default: all)");
  extract->add_option("-d,--destination", options->destination,
                      "folder to extract into (default: the working folder)");
  extract->add_flag("-j,--junk-paths", options->junk_paths, "drop the members' folders");
  CLI::Option* overwrite =
      extract->add_flag("-o,--overwrite", options->overwrite, "replace existing files");
  extract->add_flag("-n,--never-overwrite", options->never_overwrite, "keep existing files")
      ->excludes(overwrite);
  extract->add_flag("-q,--quiet", options->quiet, "no progress bar");
  AddThreadsOption(extract, *options, "decode");
  AddDiskOptions(extract, *options);
  Wire(extract, options, exit_code, ExtractArchive);

  CLI::App* add = app.add_subcommand("a", "Add files to ARCHIVE, replacing members of their name");
  add->add_option("ARCHIVE", options->archive, "the archive (made when missing)")->required();
  add->add_option("FILE", options->items, "files or patterns (a pattern searches subfolders too)")
      ->required();
  add->add_option("-C,--directory", options->c_folder,
                  "store names relative to this folder (it becomes drive C:)");
  add->add_flag("-j,--junk-paths", options->junk_paths, "store file names only");
  add->add_flag("--best", options->best, "smallest packing: the optimal parse (slower)");
  add->add_flag("-q,--quiet", options->quiet, "no progress bar");
  AddThreadsOption(add, *options, "pack");
  AddDiskOptions(add, *options);
  Wire(add, options, exit_code, AddToArchive);

  CLI::App* remove = app.add_subcommand("d", "Delete members from ARCHIVE");
  remove->add_option("ARCHIVE", options->archive, "the archive")->required();
  remove->add_option("PATTERN", options->items, "members to delete")->required();
  remove->add_flag("-q,--quiet", options->quiet, "no progress bar");
  Wire(remove, options, exit_code, DeleteFromArchive);
}

}  // namespace qv::arq
