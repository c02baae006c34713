// The ignore list as registry.json holds it, on arbitrary bytes: the
// machine reads the file (or refuses it with its one-line reason), and a
// list that loads is saved and loads again unchanged, so that no boot
// loses the names a person chose to ignore.
//
// Input: registry.json's bytes.
#include <cstdint>
#include <string>

#include "app/main_window.h"
#include "app/user_helpers.h"
#include "detector/ignore_list.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/host_snapshot.h"
#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::fuzz {

void IgnoreListInput(std::span<const std::uint8_t> input) {
  static sim::TestMachine machine;
  WriteHostFile(machine.folder() / "registry.json", input);
  sim::Machine* opened = nullptr;
  try {
    opened = &machine.Open();
  } catch (const sim::MachineError&) {
    return;  // refused with its reason, as qvsim shows it
  }
  platform::Platform platform = opened->platform();
  app::MainWindow window;
  app::UserHelpers helpers(platform, window);
  detector::NameList skip;
  detector::IgnoreList loaded(platform.registry, helpers, skip);
  if (!loaded.Load()) return;
  loaded.Save();
  detector::IgnoreList again(platform.registry, helpers, skip);
  if (!again.Load() || again.entries() != loaded.entries()) Broken("a saved list loads unchanged");
}

}  // namespace qv::fuzz
