#include "tests/whole_machine.h"

#include <fstream>
#include <sstream>

#include "loader/loader.h"
#include "platform/fault_injector.h"
#include "sim/host_io.h"

namespace qv::tests {

namespace fs = std::filesystem;

MachineCopy::MachineCopy(const fs::path& prepared) {
  parent_ = sim::MakeTemporaryFolder("qvsim-copy");
  folder_ = parent_ / "machine";
  fs::copy(prepared, folder_, fs::copy_options::recursive);
}

MachineCopy::~MachineCopy() {
  std::error_code error;
  fs::remove_all(parent_, error);
}

FaultyBoot BootWith(const fs::path& folder, const Faults& faults) {
  sim::Machine machine(folder, {.take_pictures = false});
  platform::FaultInjector injector(machine.platform());
  if (faults.cut_after_write) injector.CutPowerAfterWrite(*faults.cut_after_write);
  if (faults.fail_nth_call) injector.FailNthCall(*faults.fail_nth_call);
  FaultyBoot boot;
  boot.outcome = sim::Boot(
      machine, [&injector](platform::Platform) { return loader::RunLoader(injector.platform()); });
  boot.writes = injector.WriteCount();
  boot.calls = injector.TotalCallCount();
  return boot;
}

sim::BootOutcome BootUntilSettled(const fs::path& folder, int bound) {
  sim::BootOutcome outcome;
  for (int boot = 0; boot < bound; ++boot) {
    outcome = BootWith(folder).outcome;
    if (!outcome.reboot_accepted) break;
  }
  return outcome;
}

DriveState ReadDriveC(const fs::path& machine, const std::set<std::string>& presence_only) {
  DriveState state;
  const fs::path root = machine / "drives" / "C";
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const std::string path = entry.path().lexically_relative(root).generic_string();
    if (entry.is_directory()) {
      state.folders.insert(path);
      continue;
    }
    state.files[path] = presence_only.contains(path) ? "" : *sim::ReadWholeFile(entry.path());
    if ((entry.status().permissions() & fs::perms::owner_write) == fs::perms::none)
      state.read_only.insert(path);
  }
  if (const std::optional<std::string> attributes = sim::ReadWholeFile(machine / "attributes.json"))
    state.attributes = nlohmann::json::parse(*attributes);
  return state;
}

std::string Differences(const DriveState& expected, const DriveState& actual) {
  std::ostringstream out;
  int shown = 0;
  const auto note = [&](const std::string& line) {
    if (shown++ < 8) out << "  " << line << "\n";
  };
  for (const auto& [path, bytes] : expected.files) {
    const auto found = actual.files.find(path);
    if (found == actual.files.end()) {
      note("missing " + path);
    } else if (found->second != bytes) {
      note("differs " + path + " (" + std::to_string(found->second.size()) + " bytes, not " +
           std::to_string(bytes.size()) + ")");
    }
  }
  for (const auto& [path, bytes] : actual.files) {
    if (!expected.files.contains(path)) note("extra " + path);
  }
  if (expected.read_only != actual.read_only) note("read-only files differ");
  if (expected.folders != actual.folders) note("folders differ");
  if (expected.attributes != actual.attributes)
    note("attributes: " + actual.attributes.dump() + " not " + expected.attributes.dump());
  return out.str();
}

}  // namespace qv::tests
