// qvsim show DIR
#include <iostream>
#include <memory>

#include "sim/json_fields.h"
#include "sim/screen_pictures.h"
#include "tools/qvsim/commands.h"

namespace qv::qvsim {

void AddShowCommand(CLI::App& app) {
  auto folder = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "show", "Print the status lines that the last screen picture of the last boot shows");
  command->add_option("DIR", *folder, "The machine folder")->required();
  command->callback([folder] {
    const std::optional<std::string> text =
        sim::LatestScreenText(std::filesystem::path(*folder) / "state");
    if (!text)
      throw sim::MachineError(*folder + ": no screen picture yet (boot the machine first)");
    std::cout << (text->empty() ? "(the main window shows no status line)\n" : *text);
  });
}

}  // namespace qv::qvsim
