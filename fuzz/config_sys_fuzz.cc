// c:\config.sys on arbitrary bytes: reading its RAM-drive lines and
// appending the missing ones. Appending keeps every byte the file held (a
// final Ctrl-Z aside, which would hide the lines), a file it leaves alone
// stays as it was, and once it says it appended (and asks for a reboot),
// the next boot finds both lines: else every boot would append and restart
// again.
//
// Input: the file's bytes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_entries.h"
#include "instrument/config_sys.h"
#include "sim/test_machine.h"

namespace qv::fuzz {
namespace {

constexpr char kCtrlZ = '\x1a';

class ConfigSysHarness {
 public:
  void Run(std::span<const std::uint8_t> input) {
    std::string before(input.begin(), input.end());
    machine_.WriteHost("config.sys", before);
    platform::Files& files = machine_.files();
    const instrument::RamDriveLines read = instrument::ReadRamDriveLines(files);
    const bool appended = instrument::SetUpRamDriveLines(files);
    const std::string after = machine_.ReadHost("config.sys");
    if (appended && read.Complete()) Broken("nothing appended when both lines are there");
    if (!appended) {
      if (after != before) Broken("a file with both lines stays as it was");
      return;
    }
    if (!before.empty() && before.back() == kCtrlZ) before.pop_back();
    if (!after.starts_with(before)) Broken("appending keeps what the file held");
    if (!instrument::ReadRamDriveLines(files).Complete()) Broken("the next boot finds both lines");
  }

 private:
  sim::TestMachine machine_;
};

}  // namespace

void ConfigSysInput(std::span<const std::uint8_t> input) {
  static ConfigSysHarness harness;
  harness.Run(input);
}

}  // namespace qv::fuzz
