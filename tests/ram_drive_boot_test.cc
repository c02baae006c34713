// Boots of instruments with memory for a RAM drive: the first one puts the
// lines into c:\config.sys and restarts, the next ones empty d:\, copy the
// libraries to it and start the scope application from there.
#include <gtest/gtest.h>

#include "tests/scenario.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;
namespace fs = std::filesystem;

const std::string kLines =
    "device=c:\\windows\\himem.sys\r\n"
    "device=c:\\windows\\ramdrive.sys 16384 /E\r\n";

bool ShowedStatusBox(const Scenario& scenario) {
  for (const std::string& line : scenario.Story("window")) {
    if (line.starts_with("window statusbox")) return true;
  }
  return false;
}

TEST(RamDriveBoot, TheFirstBootAddsTheLinesAndTheNextRunsFromD) {
  Scenario scenario({.memory_mib = 48});
  sim::TestMachine& machine = scenario.machine();
  machine.WriteHost("config.sys", "files=30\r\n");
  machine.WriteHost("scope/bin/one.dll", "one, revision 2");
  machine.WriteHost("scope/bin/two.dll", "two, revision 2");

  scenario.Boot();
  EXPECT_EQ(machine.ReadHost("config.sys"), "files=30\r\n" + kLines);
  const Lines first = scenario.Story();
  EXPECT_TRUE(HasRun(first, {"window statusbox create normal",
                             "window statusbox caption \"Quorvex will now reboot to create RAM "
                             "drive\"",
                             "sleep 5000 ms", "window statusbox destroy",
                             "reboot requested: accepted", "sleep 10000 ms"}))
      << PrintToString(first);

  // The system makes d:\ empty; whatever stands on it when the loader
  // starts goes.
  scenario.before_loader = [](platform::Platform platform) {
    platform::Files& files = platform.files;
    ASSERT_TRUE(files.MakeFolder("d:\\old"));
    for (const char* path : {"d:\\one.dll", "d:\\stale.txt", "d:\\old\\a.txt", "d:\\old\\b.txt"}) {
      ASSERT_TRUE(files.Open(path, "wb"));
    }
    ASSERT_TRUE(files.SetWritable("d:\\old\\b.txt", false));
  };
  const sim::BootOutcome& next = scenario.Boot();
  EXPECT_EQ(machine.ReadHost("config.sys"), "files=30\r\n" + kLines);
  EXPECT_FALSE(ShowedStatusBox(scenario));
  EXPECT_FALSE(next.reboot_accepted);
  EXPECT_FALSE(fs::exists(machine.Host("stale.txt", 'D')));
  EXPECT_FALSE(fs::exists(machine.Host("old", 'D')));
  EXPECT_EQ(machine.ReadHost("one.dll", 'D'), "one, revision 2");
  EXPECT_EQ(machine.ReadHost("two.dll", 'D'), "two, revision 2");
  ASSERT_TRUE(next.launched);
  EXPECT_EQ(next.launched->program, "D:\\qv7311x.exe");
  EXPECT_TRUE(scenario.Story("box").empty()) << PrintToString(scenario.Story("box"));
}

TEST(RamDriveBoot, ExactlyThirtyTwoMiBLeavesConfigSysAndDAlone) {
  Scenario scenario;  // 33,554,432 bytes
  scenario.machine().WriteHost("config.sys", "files=30\r\n");
  const sim::BootOutcome& outcome = scenario.Boot();
  EXPECT_EQ(scenario.machine().ReadHost("config.sys"), "files=30\r\n");
  EXPECT_FALSE(ShowedStatusBox(scenario));
  EXPECT_FALSE(outcome.reboot_accepted);
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\qv7311x.exe");
}

TEST(RamDriveBoot, NoramLeavesConfigSysAsItIs) {
  Scenario scenario({.memory_mib = 48});
  scenario.machine().WriteHost("config.sys", "files=30\r\n");
  const sim::BootOutcome& outcome = scenario.Boot("/noram");
  EXPECT_EQ(scenario.machine().ReadHost("config.sys"), "files=30\r\n");
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\qv7311x.exe");
}

}  // namespace
}  // namespace qv::tests
