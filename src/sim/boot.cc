#include "sim/boot.h"

#include "platform/code_page.h"
#include "sim/host_io.h"
#include "sim/latin1.h"
#include "sim/transcript.h"

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

void RecordEnd(Journal& journal, const RunEnd& end, std::uint64_t limit_ms) {
  switch (end.way) {
    case RunEnd::Way::kReturned:
      journal.Record("exit", {{"code", end.exit_code}});
      break;
    case RunEnd::Way::kExited:
      break;  // the exit recorded itself
    case RunEnd::Way::kPowerCut:
      journal.Record("power_cut");
      break;
    case RunEnd::Way::kStopped:
      journal.Record("stopped", {{"reason", "the loader was still running after " +
                                                std::to_string(limit_ms / 1000) +
                                                " s of the instrument's time"}});
      break;
  }
}

bool RebootAccepted(const Journal& journal) {
  for (const nlohmann::ordered_json& entry : journal.events()) {
    if (entry["event"] == "reboot" && entry.value("accepted", false)) return true;
  }
  return false;
}

void WriteLaunched(const fs::path& state, const std::optional<ProgramStart>& launched) {
  if (!launched) {
    std::error_code error;
    fs::remove(state / "launched.json", error);
    if (error) throw std::runtime_error((state / "launched.json").string() + ": cannot be removed");
    return;
  }
  const nlohmann::ordered_json json = {{"program", BytesToJson(launched->program)},
                                       {"cmdline", BytesToJson(launched->command_line)},
                                       {"cwd", BytesToJson(launched->current_folder)}};
  WriteFileAtomically(state / "launched.json", json.dump(2) + "\n");
}

// A display mode stored for later starts is the one the next boot finds.
void KeepStoredDisplayMode(Machine& machine) {
  const std::optional<int> bits = machine.desktop().display().stored_bits;
  if (!bits) return;
  nlohmann::ordered_json document = machine.config().document;
  document["display"]["bits_per_pixel"] = *bits;
  WriteFileAtomically(machine.folder() / "machine.json", document.dump(2) + "\n");
}

}  // namespace

BootOutcome Boot(Machine& machine, const LoaderProcess& loader, BootOptions options) {
  const fs::path state = machine.folder() / "state";
  if (options.keep_earlier_pictures) {
    machine.pictures().ContinueNumbering();
  } else {
    ClearBootState(state);
  }
  machine.PowerOn();

  BootOutcome outcome;
  int exit_code = 0;
  outcome.end = RunProcess([&] { exit_code = loader(machine.platform()); });
  if (outcome.end.way == RunEnd::Way::kReturned) outcome.end.exit_code = exit_code;
  RecordEnd(machine.journal(), outcome.end, machine.options().time_limit_ms);

  outcome.left_waiting = machine.observer().left_waiting();
  // A loader left waiting had its last picture taken before its window closed.
  if (!outcome.left_waiting) machine.pictures().Take(machine.desktop());
  outcome.pictures = machine.pictures().taken();
  outcome.warnings = machine.pictures().errors();
  outcome.reboot_accepted = RebootAccepted(machine.journal());
  const std::vector<ProgramStart>& starts = machine.system().starts();
  if (!starts.empty()) outcome.launched = starts.back();

  WriteTranscript(state, machine.journal().events());
  WriteLaunched(state, outcome.launched);
  KeepStoredDisplayMode(machine);
  return outcome;
}

bool IsScopeApplication(std::string_view program) {
  const std::size_t slash = program.find_last_of("\\/:");
  const std::string_view name =
      slash == std::string_view::npos ? program : program.substr(slash + 1);
  return platform::SameName(platform::CodePage::kWestern, name, "qv7311x.exe") ||
         platform::SameName(platform::CodePage::kWestern, name, "qv7314x.exe");
}

}  // namespace qv::sim
