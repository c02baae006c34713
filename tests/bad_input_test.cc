// Boots that meet bad input or a second copy of the loader: each ends as
// the loader's own rules say, never with a crash of the simulator.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "sim/json_fields.h"
#include "tests/recording_parts.h"
#include "tests/scenario.h"

namespace qv::tests {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const Lines kHardwareFailure = {
    "window main create minimized", "window main show minimized",
    // Steps 1 to 12 ran: the markers were looked for.
    kMarkerNotFound, kMarkerNotFound, kMarkerNotFound, "window main show normal", "video bit on",
    "draw (10, 10) \"Can't communicate with acquisition interface board.  \"",
    "draw (10, 40) \"Please cycle power on the instrument.\"",
    "the loader waits in its message loop; the person closes its window", "window main destroy",
    "exit with code 0"};

TEST(BadInput, ADriverThatDoesNotAnswerWithEightBytesGivesTheHardwareFailureScreen) {
  const std::function<void(nlohmann::ordered_json&)> boards[] = {
      [](nlohmann::ordered_json& json) { json["board"]["answer_length"] = 4; },
      [](nlohmann::ordered_json& json) { json["board"]["answer_length"] = 9; },
      [](nlohmann::ordered_json& json) { json["board"]["driver"] = "missing"; },
      [](nlohmann::ordered_json& json) { json["board"]["driver"] = "refuses"; },
  };
  for (const auto& board : boards) {
    Scenario scenario;
    scenario.EditConfig(board);
    scenario.machine().WriteHost("scope/upgrade/lan/setup.bat", "");
    const sim::BootOutcome& outcome = scenario.Boot("/copyfiles");
    EXPECT_EQ(scenario.Story(), kHardwareFailure);
    EXPECT_FALSE(outcome.launched);
    EXPECT_TRUE(outcome.left_waiting);
    EXPECT_EQ(outcome.pictures.size(), 1u);
    // No upgrade, LAN, restart or launch.
    EXPECT_TRUE(fs::exists(scenario.machine().Host("scope/upgrade/lan/setup.bat")));
    EXPECT_FALSE(scenario.machine().Open().platform().registry.OpenKey(
        "System\\CurrentControlSet\\Control\\Nls\\Codepage"));
    EXPECT_FALSE(fs::exists(scenario.machine().Host("scope/bin/upgrade.log")));
  }
}

// Every file of the machine outside state/, with its bytes and whether it
// is writable.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const fs::path relative = entry.path().lexically_relative(folder);
    if (*relative.begin() == "state") continue;
    std::ostringstream bytes;
    if (entry.is_regular_file()) bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    const auto permissions = entry.status().permissions();
    files[relative.string()] =
        bytes.str() + ((permissions & fs::perms::owner_write) != fs::perms::none ? "w" : "r");
  }
  return files;
}

TEST(BadInput, ASecondCopyEndsWithExitCode0AndChangesNothingOnDisk) {
  Scenario scenario;
  sim::TestMachine& test = scenario.machine();
  test.WriteHost("scope/upgrade/scope/temp/qv731upg.hdr", std::string(52, '\1'));
  sim::Machine first(test.folder());
  const auto held = first.platform().system.CreateNamedMutex("Vornkey");
  ASSERT_TRUE(held);
  const auto before = Snapshot(test.folder());

  const sim::BootOutcome& outcome = scenario.Boot("/copyfiles /clearundo");
  EXPECT_EQ(scenario.Story(), (Lines{"window main create minimized", "window main show minimized",
                                     "exit with code 0"}));
  EXPECT_EQ(outcome.end.way, sim::RunEnd::Way::kExited);
  EXPECT_EQ(Snapshot(test.folder()), before);
}

TEST(BadInput, AMissingOrMalformedMachineFileIsRefusedWithItsReason) {
  Scenario scenario;
  const fs::path file = scenario.machine().folder() / "machine.json";
  std::ofstream(file) << "{\"format\": 1, \"board\": ";
  EXPECT_THROW(
      {
        try {
          scenario.Boot();
        } catch (const sim::MachineError& error) {
          EXPECT_EQ(std::string(error.what()).rfind("machine.json: not valid JSON", 0), 0u);
          throw;
        }
      },
      sim::MachineError);
  fs::remove(file);
  EXPECT_THROW(scenario.Boot(), sim::MachineError);
}

TEST(BadInput, AMalformedDesktopSectionIsRefusedNamingTheField) {
  Scenario scenario;
  scenario.EditConfig([](nlohmann::ordered_json& json) {
    json["operator"] = {{"boxes", {{{"text", "*"}, {"answer", "maybe"}}}}};
  });
  try {
    scenario.Boot();
    ADD_FAILURE() << "booted";
  } catch (const sim::MachineError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("machine.json: operator.boxes[0].answer", 0), 0u)
        << error.what();
  }
}

TEST(BadInput, ALoaderThatWaitsForEverIsStoppedAtTheTimeLimit) {
  Scenario scenario;
  RecordingScript script;
  script.Answer("window scan", {1});  // a program that never goes away
  UseRecordingParts(scenario, script);
  const sim::BootOutcome& outcome = scenario.Boot("/autostart");
  EXPECT_EQ(outcome.end.way, sim::RunEnd::Way::kStopped);
  EXPECT_EQ(scenario.Story().back(),
            "stopped reason=the loader was still running after 3600 s of the instrument's time");
  EXPECT_EQ(outcome.pictures.size(), 1u);
}

}  // namespace
}  // namespace qv::tests
