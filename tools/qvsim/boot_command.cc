// qvsim boot DIR [--real-time] [--interactive] [--cut-after N] [-- ARGS...]
#include <iostream>
#include <memory>

#include "tools/qvsim/boot_runner.h"
#include "tools/qvsim/commands.h"

namespace qv::qvsim {

void AddBootCommand(CLI::App& app) {
  struct Arguments {
    std::string folder;
    BootSettings settings;
    std::vector<std::string> loader_arguments;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "boot",
      "Power the instrument on and run the loader once; the transcript goes to the "
      "terminal and DIR/state");
  command->add_option("DIR", arguments->folder, "The machine folder")->required();
  command->add_option("ARGS", arguments->loader_arguments,
                      "The loader's command line (after --), instead of machine.json's");
  command->add_flag("--real-time", arguments->settings.real_time, "Sleeps take real time");
  command->add_flag("--interactive", arguments->settings.interactive,
                    "Answer message boxes and dialogs at the terminal");
  command
      ->add_option("--cut-after", arguments->settings.cut_after_write,
                   "Cut the power right after the Nth write to a disk or the registry")
      ->check(CLI::PositiveNumber);
  command->callback([arguments] {
    if (!arguments->loader_arguments.empty()) {
      std::string line;
      for (const std::string& word : arguments->loader_arguments) {
        line += (line.empty() ? "" : " ") + word;
      }
      arguments->settings.command_line = line;
    }
    BootOnce(arguments->folder, arguments->settings, std::cout);
  });
}

}  // namespace qv::qvsim
