// Whole boots that install an upgrade from the staging tree (the copyfiles
// switch continues an upgrade whose files are already staged): what lands
// where, what is saved first, what is never installed, the upgrade log's
// bytes, and the package and marker files afterwards.
#include <gtest/gtest.h>

#include "tests/scenario.h"
#include "tests/staged_upgrade.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;

class UpgradeInstallTest : public ::testing::Test {
 protected:
  UpgradeInstallTest() {
    sim::TestMachine& machine = scenario_.machine();
    WriteHeader(machine);
    machine.WriteHost(std::string(kStagingFolder) + "qv731upg.arq", "the archive");
    MakeReadOnly(machine, std::string(kStagingFolder) + "qv731upg.arq");
    // The installed revision, partly read-only.
    machine.WriteHost("scope/bin/qv7311x.exe", "old scope");
    MakeReadOnly(machine, "scope/bin/qv7311x.exe");
    machine.WriteHost("scope/cal/gain.cal", "old gain");
    machine.WriteHost("scope/setups/default.set", "old setup");
    // The staged revision.
    machine.WriteHost("scope/upgrade/scope/bin/qv7311x.exe", "new scope");
    machine.WriteHost("scope/upgrade/scope/cal/gain.cal", "new gain");
    machine.WriteHost("scope/upgrade/scope/bin/Temp/scratch.tmp", "never");
    machine.WriteHost("scope/upgrade/lan/setup.bat", "lan");
    machine.WriteHost("scope/upgrade/readme.txt", "read me");
    machine.WriteHost("scope/upgrade/windows/system/qvx.dll", "driver");
  }

  std::string Read(std::string_view relative) { return scenario_.machine().ReadHost(relative); }

  Scenario scenario_;
};

TEST_F(UpgradeInstallTest, ContinuingInstallsTheStagingTreeOverDriveC) {
  const sim::BootOutcome& outcome = scenario_.Boot("/copyfiles");
  const sim::TestMachine& machine = scenario_.machine();

  // Installed over the read-only older copy, taking the staged attributes.
  EXPECT_EQ(Read("scope/bin/qv7311x.exe"), "new scope");
  EXPECT_FALSE(IsReadOnly(machine, "scope/bin/qv7311x.exe"));
  EXPECT_EQ(Read("readme.txt"), "read me");
  EXPECT_EQ(Read("windows/system/qvx.dll"), "driver");
  // Calibration and set-ups were saved before the staged files came.
  EXPECT_EQ(Read("scope/old_rev/scope/cal/gain.cal"), "old gain");
  EXPECT_EQ(Read("scope/old_rev/scope/setups/default.set"), "old setup");
  EXPECT_EQ(Read("scope/cal/gain.cal"), "new gain");
  // Never installed: temp folders in any case, the LAN features, the package.
  EXPECT_FALSE(Exists(machine, "scope/bin/Temp"));
  EXPECT_FALSE(Exists(machine, "scope/bin/temp"));
  EXPECT_FALSE(Exists(machine, "lan"));
  EXPECT_FALSE(Exists(machine, "scope/temp/qv731upg.arq"));
  // The LAN request stayed in the staging tree, where the LAN step took it.
  EXPECT_FALSE(Exists(machine, "scope/upgrade/lan/setup.bat"));
  EXPECT_TRUE(HasRun(scenario_.Story("window"),
                     {"window statusbox caption \"Quorvex will now install Lan Features\""}));

  ExpectPackageInstalled(machine);
  EXPECT_EQ(Read("autoexec.bat"), "c:\\scope\\bin\\cpdll.exe");

  // The log lists cal and setups first; the continuing branch writes no end line.
  EXPECT_EQ(Read("scope/bin/upgrade.log"),
            "Upgrade began Thu May 17 10:00:02 2001\r\n\r\n"
            "Part Number: QV7310-62001\r\n"
            "  File Name: qv731upg.arq\r\n"
            "gain.cal\r\n"
            "default.set\r\n"
            "readme.txt\r\n"
            "qv7311x.exe\r\n"
            "gain.cal\r\n"
            "qvx.dll\r\n");

  const Lines story = scenario_.Story();
  EXPECT_TRUE(HasRun(story, {"window statusbox create normal",
                             "window statusbox text control 1000 \"Starting File Copy\"",
                             "window statusbox caption \"Copying.......\"",
                             "window statusbox text control 1000 \"Copying file: gain.cal\"",
                             "window statusbox text control 1000 \"Copying file: default.set\"",
                             "window statusbox text control 1000 \"Copying file: readme.txt\""}))
      << PrintToString(story);
  EXPECT_TRUE(HasRun(story, {"draw (10, 10) \"Your Quorvex will now restart             \"",
                             "draw (10, 30) \"to complete the upgrade. . .               \"",
                             "sleep 2000 ms", "reboot requested: accepted", "sleep 10000 ms"}))
      << PrintToString(story);
  EXPECT_TRUE(outcome.reboot_accepted);
  // A picture of the status box at its first file, and the last one.
  EXPECT_EQ(outcome.pictures.size(), 2u);
}

TEST(UpgradeInstall, CopyfilesWithoutAHeaderLogsEmptyTextsAndEachUpgradeAppends) {
  Scenario scenario;
  scenario.machine().WriteHost("scope/upgrade/scope/bin/new.dll", "new");
  scenario.Boot("/copyfiles");
  scenario.Boot("/copyfiles");
  const std::string entry = OpeningLines("", "") + "new.dll\r\n";
  EXPECT_EQ(scenario.machine().ReadHost("scope/bin/upgrade.log"), entry + entry);
  EXPECT_EQ(scenario.machine().ReadHost("scope/bin/new.dll"), "new");

  // The skeleton was made, with its attributes.
  platform::Files& files = scenario.machine().Open().files();
  using namespace platform::attribute;
  EXPECT_EQ(*files.GetAttributes("c:\\scope\\bin"), kDirectory | kHidden | kSystem);
  EXPECT_EQ(*files.GetAttributes("c:\\scope\\data"), kDirectory | kSystem);
  EXPECT_EQ(*files.GetAttributes("c:\\scope\\upgrade"), kDirectory | kHidden | kSystem);
  EXPECT_EQ(*files.GetAttributes("c:\\scope\\old_rev\\windows\\system"), kDirectory);
  EXPECT_EQ(*files.GetAttributes("c:\\scope\\upgrade\\scope\\temp"), kDirectory);
}

TEST(UpgradeInstall, HeaderTextsStopAtTheirFieldsAndAShortHeaderIsNoUpgrade) {
  Scenario scenario;
  // No zero byte in either text field: each is read to its field's end.
  std::string header = HeaderBytes(1, "", "x");
  header.replace(12, 14, "ABCDEFGHIJKLMN");
  header.replace(26, 26, "abcdefghijklmnopqrstuvwxyz");
  scenario.machine().WriteHost(std::string(kStagingFolder) + "qv731upg.hdr", header);
  scenario.Boot("/copyfiles");
  EXPECT_EQ(scenario.machine().ReadHost("scope/bin/upgrade.log"),
            OpeningLines("ABCDEFGHIJKLMN", "abcdefghijklmnopqrstuvwxyz"));

  // 51 bytes: nothing is pending, the boot is an ordinary one.
  Scenario short_header;
  short_header.machine().WriteHost(std::string(kStagingFolder) + "qv731upg.hdr",
                                   HeaderBytes(1, "QV7310-62001", "qv731upg.arq").substr(0, 51));
  const sim::BootOutcome& outcome = short_header.Boot();
  EXPECT_EQ(WithoutMarkerSearches(short_header.Story("draw")).size(), 1u);  // the model line
  EXPECT_FALSE(outcome.reboot_accepted);
  EXPECT_TRUE(Exists(short_header.machine(), std::string(kStagingFolder) + "qv731upg.hdr"));
  EXPECT_FALSE(Exists(short_header.machine(), "scope/bin/upgrade.log"));
}

TEST(UpgradeInstall, FilesThatCannotBeCopiedCostABoxAndTheCopyGoesOn) {
  Scenario scenario;
  sim::TestMachine& machine = scenario.machine();
  // A folder stands where a staged file goes, and a file where a staged
  // folder's parent goes.
  std::filesystem::create_directories(machine.Host("scope/bin/blocked.exe"));
  machine.WriteHost("scope/upgrade/scope/bin/blocked.exe", "x");
  machine.WriteHost("scope/upgrade/scope/bin/after.exe", "after");
  machine.WriteHost("notes", "a file");
  machine.WriteHost("scope/upgrade/notes/sub/deep.txt", "deep");
  scenario.Boot("/copyfiles");
  const Lines boxes = scenario.Story("box");
  EXPECT_EQ(
      boxes,
      (Lines{"box ok \"qv731Ldr\" \"Failed to create destination directory \\\\notes\\\\sub\" "
             "-> ok",
             "box error \"qv731Ldr\" \"The system cannot find the path specified.\\r\\n\" -> ok",
             "box ok \"qv731Ldr\" \"Failed to copy file \\\\scope\\\\bin\\\\blocked.exe\" -> ok"}))
      << PrintToString(boxes);
  EXPECT_EQ(machine.ReadHost("scope/bin/after.exe"), "after");
  // The system's text ends in CR LF already, which the log stores as CR CR LF.
  EXPECT_EQ(machine.ReadHost("scope/bin/upgrade.log"),
            OpeningLines("", "") +
                "The system cannot find the path specified.\r\r\n"
                "after.exe\r\n"
                "blocked.exe\r\n"
                "Failed to copy file \\scope\\bin\\blocked.exe : Access is denied.\r\r\n");
  // Not every file was installed: the upgrade failed, and the next boot tries again.
  EXPECT_TRUE(HasRun(scenario.Story("draw"),
                     {"draw (10, 10) \"System Upgrade Failed....                  \""}));
  EXPECT_TRUE(Exists(machine, std::string(kStagingFolder) + "qv731upg.fld"));
  EXPECT_FALSE(Exists(machine, "scope/old_rev/scope/temp/qv731upg.udo"));
}

}  // namespace
}  // namespace qv::tests
