#include "tools/qvsim/boot_runner.h"

#include <iostream>

#include "loader/loader.h"
#include "platform/fault_injector.h"
#include "sim/transcript.h"

namespace qv::qvsim {

sim::BootOutcome BootOnce(const std::filesystem::path& folder, const BootSettings& settings,
                          std::ostream& out) {
  const sim::Terminal terminal{std::cin, out};
  sim::MachineOptions options;
  options.real_time = settings.real_time;
  options.terminal = settings.interactive ? &terminal : nullptr;
  sim::Machine machine(folder, options);
  if (settings.command_line) machine.system().SetCommandLine(*settings.command_line);
  machine.journal().SetListener([&out](const nlohmann::ordered_json& entry) {
    out << sim::ReadableLine(entry) << std::endl;
  });

  const sim::LoaderProcess process = [&settings](platform::Platform platform) {
    if (!settings.cut_after_write) return loader::RunLoader(platform);
    platform::FaultInjector injector(platform);
    injector.CutPowerAfterWrite(*settings.cut_after_write);
    return loader::RunLoader(injector.platform());
  };
  const sim::BootOutcome outcome =
      sim::Boot(machine, process, {.keep_earlier_pictures = settings.later_boot_of_run});
  for (const std::string& warning : outcome.warnings) {
    std::cerr << "qvsim: warning: " << warning << "\n";
  }
  out << "transcript: " << (folder / "state" / "transcript.jsonl").string() << "\n";
  for (std::size_t i = 0; i < outcome.pictures.size(); ++i) {
    out << (i + 1 < outcome.pictures.size() ? "screen: " : "last screen: ")
        << outcome.pictures[i].string() << "\n";
  }
  if (outcome.end.way == sim::RunEnd::Way::kStopped) {
    throw std::runtime_error("the boot was stopped: the loader was still running after " +
                             std::to_string(options.time_limit_ms / 1000) +
                             " s of the instrument's time");
  }
  return outcome;
}

}  // namespace qv::qvsim
