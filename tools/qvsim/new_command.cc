// qvsim new DIR [--model N] [--memory-mib N] [--floppy]
#include <iostream>
#include <memory>

#include "sim/new_machine.h"
#include "tools/qvsim/commands.h"

namespace qv::qvsim {

void AddNewCommand(CLI::App& app) {
  struct Arguments {
    std::string folder;
    sim::NewMachineOptions options;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("new", "Make a new instrument in an empty folder");
  command->add_option("DIR", arguments->folder, "The machine folder to make")->required();
  command->add_option("--model", arguments->options.model_code, "Model code, 0 to 7 (default 1)")
      ->check(CLI::Range(0, 7));
  command
      ->add_option("--memory-mib", arguments->options.memory_mib,
                   "Physical memory in MiB (default 32)")
      ->check(CLI::Range(1, 4096));
  command->add_flag("--floppy", arguments->options.floppy, "Put an empty disk in drive A:");
  command->callback([arguments] {
    sim::WriteNewMachine(arguments->folder, arguments->options);
    std::cout << "made " << arguments->folder << "\n";
  });
}

}  // namespace qv::qvsim
