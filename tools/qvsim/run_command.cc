// qvsim run DIR [--real-time] [--interactive] [--max-boots N] [--cut-after N,M,...]
#include <iostream>
#include <memory>

#include "tools/qvsim/boot_runner.h"
#include "tools/qvsim/commands.h"

namespace qv::qvsim {

void AddRunCommand(CLI::App& app) {
  struct Arguments {
    std::string folder;
    BootSettings settings;
    int max_boots = 5;
    std::vector<int> cuts;  // the write after which each boot in turn loses power
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "run", "Boot again after every accepted reboot request, until a boot asks for none");
  command->add_option("DIR", arguments->folder, "The machine folder")->required();
  command->add_option("--max-boots", arguments->max_boots, "Give up after this many boots")
      ->check(CLI::Range(1, 100));
  command->add_flag("--real-time", arguments->settings.real_time, "Sleeps take real time");
  command->add_flag("--interactive", arguments->settings.interactive,
                    "Answer message boxes and dialogs at the terminal");
  command
      ->add_option("--cut-after", arguments->cuts,
                   "Cut the power of boot 1 right after its Nth write, of boot 2 after its Mth, "
                   "...: N,M,...")
      ->delimiter(',')
      ->check(CLI::PositiveNumber);
  command->callback([arguments] {
    for (int boot = 1; boot <= arguments->max_boots; ++boot) {
      std::cout << "--- boot " << boot << " ---\n";
      arguments->settings.later_boot_of_run = boot > 1;
      const std::size_t index = static_cast<std::size_t>(boot - 1);
      arguments->settings.cut_after_write = index < arguments->cuts.size()
                                                ? std::optional<int>(arguments->cuts[index])
                                                : std::nullopt;
      const sim::BootOutcome outcome = BootOnce(arguments->folder, arguments->settings, std::cout);
      if (outcome.end.way == sim::RunEnd::Way::kPowerCut) {
        std::cout << "the power was cut; it comes back\n";
        continue;
      }
      // The instrument goes down after an accepted request, whatever the
      // loader did while it waited for that.
      if (outcome.reboot_accepted) {
        std::cout << "the instrument restarts\n";
        continue;
      }
      if (outcome.launched && sim::IsScopeApplication(outcome.launched->program)) {
        std::cout << "the scope application was started\n";
      } else {
        std::cout << "the scope application was not started, and no reboot follows\n";
      }
      return;
    }
    throw std::runtime_error("the scope application was not started in " +
                             std::to_string(arguments->max_boots) + " boots");
  });
}

}  // namespace qv::qvsim
