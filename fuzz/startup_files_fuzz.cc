// The request files an installer leaves on drive C: for the next boot, on
// arbitrary bytes: the rename list c:\chname and the deferred installer
// c:\acroinst. Each is carried out on a fresh instrument; it must end, the
// acroinst file must be gone afterwards, and a registered command is never
// longer than its line allows.
//
// Input: one byte of choices (bit 0: the bytes are c:\acroinst, else
// c:\chname), then the file's bytes.
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/process_state.h"
#include "fuzz/fuzz_entries.h"
#include "instrument/rename_list.h"
#include "instrument/startup_entries.h"
#include "sim/test_machine.h"

namespace qv::fuzz {
namespace {

// The longest command line 1 of c:\acroinst may give.
constexpr std::size_t kLongestCommand = 63;

void RunDeferredInstaller(sim::TestMachine& machine, const std::string& bytes) {
  machine.WriteHost("acroinst", bytes);
  app::ProcessState process;
  platform::Platform platform = machine.machine().platform();
  instrument::RegisterDeferredInstaller(platform, process);
  if (std::filesystem::exists(machine.Host("acroinst"))) Broken("c:\\acroinst is deleted");
  const auto command =
      platform.registry.QueryValue(instrument::kRunOnceKey, instrument::kRunOnceValue, 4096);
  if (command && command->data.size() > kLongestCommand) Broken("the command fits its line");
  if (command.ok() != process.restart) Broken("a restart exactly when a command was registered");
}

}  // namespace

void StartupFilesInput(std::span<const std::uint8_t> input) {
  if (input.empty()) return;
  sim::TestMachine machine;
  const std::string bytes(input.begin() + 1, input.end());
  if ((input[0] & 1) != 0) {
    RunDeferredInstaller(machine, bytes);
    return;
  }
  machine.WriteHost("chname", bytes);
  instrument::CarryOutRenameList(machine.machine().platform(), "c:\\chname");
}

}  // namespace qv::fuzz
