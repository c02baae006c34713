// The backup tree cleared by the clearundo switch: files at every depth go,
// however many folders the tree has; temp folders in any case are left
// alone, so the undo marker stays.
#include <gtest/gtest.h>

#include "tests/scenario.h"
#include "tests/staged_upgrade.h"

namespace qv::tests {
namespace {

void WriteAll(const sim::TestMachine& machine, std::initializer_list<const char*> files) {
  for (const char* file : files)
    machine.WriteHost(file, "old");
}

TEST(UpgradeTrees, ClearundoClearsTheBackupTreeAtAnyDepthButNoTempFolder) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  const auto cleared = {"scope/old_rev/top.txt", "scope/old_rev/scope/bin/x.dll",
                        "scope/old_rev/windows/win.ini", "scope/old_rev/scope/bin/sub/third.txt",
                        "scope/old_rev/scope/cal/ro.cal",
                        // Four and five levels below the root.
                        "scope/old_rev/scope/bin/sub/deeper/fourth.txt",
                        "scope/old_rev/scope/bin/sub/deeper/still/fifth.txt"};
  const auto kept = {"scope/old_rev/scope/temp/qv731upg.udo",
                     "scope/old_rev/scope/TEMP/x/y.txt",  // the same folder, in capitals
                     "scope/old_rev/Temp/z.txt", "scope/old_rev/scope/bin/sub/temp/w.txt"};
  WriteAll(machine, cleared);
  WriteAll(machine, kept);
  MakeReadOnly(machine, "scope/old_rev/scope/cal/ro.cal");

  scenario.Boot("/clearundo");
  for (const char* file : cleared)
    EXPECT_FALSE(Exists(machine, file)) << file;
  for (const char* file : kept)
    EXPECT_TRUE(Exists(machine, file)) << file;
  // Folders stay.
  EXPECT_TRUE(std::filesystem::is_directory(machine.Host("scope/old_rev/scope/bin/sub")));
}

TEST(UpgradeTrees, ClearingGoesBeyondTenFolders) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  // The backup tree's skeleton has eleven folders: scope and windows, eight
  // below scope (temp not counted), and windows\system last.
  for (const char* folder :
       {"bin", "cal", "data", "masks", "memories", "probes", "selftest", "setups"}) {
    machine.WriteHost(std::string("scope/old_rev/scope/") + folder + "/file", "old");
  }
  machine.WriteHost("scope/old_rev/windows/system/eleventh.dll", "old");
  scenario.Boot("/clearundo");
  EXPECT_FALSE(Exists(machine, "scope/old_rev/scope/setups/file"));
  EXPECT_FALSE(Exists(machine, "scope/old_rev/windows/system/eleventh.dll"));
}

}  // namespace
}  // namespace qv::tests
