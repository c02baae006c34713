// Boots that begin an upgrade from a package that qvpkg built and
// installed: the expansion with its progress, the install, the upgrade
// log, what the package and marker files are afterwards, and the boot
// after the restart.
#include <gtest/gtest.h>

#include "codec/member_record.h"
#include "loader/loader.h"
#include "platform/fault_injector.h"
#include "tests/scenario.h"
#include "tests/staged_upgrade.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;

std::string Text(std::size_t size) {
  std::string text;
  for (std::size_t line = 0; text.size() < size; ++line)
    text += "line " + std::to_string(line) + " of the text\n";
  return text.substr(0, size);
}

// Bytes that do not compress: they are stored.
std::string Noise(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

class PackageUpgradeTest : public ::testing::Test {
 protected:
  std::string Read(std::string_view relative) { return scenario_.machine().ReadHost(relative); }
  const sim::TestMachine& machine() { return scenario_.machine(); }

  Scenario scenario_;
};

TEST_F(PackageUpgradeTest, ABeginningUpgradeInstallsThePackageAndRestarts) {
  machine().WriteHost("scope/bin/qv7311x.exe", "old scope");
  MakeReadOnly(machine(), "scope/bin/qv7311x.exe");
  machine().WriteHost("scope/cal/gain.cal", "old gain");
  machine().WriteHost("scope/setups/default.set", "old setup");
  // Left by an earlier upgrade: the staging tree and the backup are cleared.
  machine().WriteHost("scope/upgrade/scope/bin/stale.dll", "stale");
  machine().WriteHost("scope/old_rev/scope/bin/older.dll", "older");
  machine().WriteHost("scope/old_rev/scope/temp/qv731upg.udo", "");
  InstallBuiltPackage(machine(), {{"scope/bin/qv7311x.exe", "new scope"},
                                  {"scope/cal/gain.cal", "new gain"},
                                  {"readme.txt", "read me"}});

  const sim::BootOutcome& outcome = scenario_.Boot();
  const Lines story = scenario_.Story();
  EXPECT_EQ(Read("scope/bin/qv7311x.exe"), "new scope");
  EXPECT_EQ(Read("scope/cal/gain.cal"), "new gain");
  // Names the package brought are the archive's, in capitals.
  EXPECT_EQ(Read("README.TXT"), "read me");
  EXPECT_EQ(Read("scope/old_rev/scope/cal/gain.cal"), "old gain");
  EXPECT_EQ(Read("scope/old_rev/scope/setups/default.set"), "old setup");
  EXPECT_FALSE(Exists(machine(), "scope/bin/stale.dll"));
  EXPECT_FALSE(Exists(machine(), "scope/upgrade/scope/bin/stale.dll"));
  EXPECT_FALSE(Exists(machine(), "scope/old_rev/scope/bin/older.dll"));
  // The package in the staging folder was not installed; it stays, writable.
  EXPECT_FALSE(Exists(machine(), "scope/temp/qv731upg.arq"));
  ExpectPackageInstalled(machine());
  EXPECT_EQ(Read("scope/bin/upgrade.log"),
            OpeningLines() +
                "gain.cal\r\n"
                "default.set\r\n"
                "README.TXT\r\n"
                "QV7311X.EXE\r\n"
                "GAIN.CAL\r\n"
                "Upgrade completed Thu May 17 10:00:02 2001\r\n\r\n");
  EXPECT_TRUE(HasRun(story, {"window statusbox create normal",
                             "window statusbox text control 1000 \"Starting expansion\"",
                             "window statusbox caption \"Expanding.......\""}))
      << PrintToString(story);
  EXPECT_TRUE(HasRun(
      story,
      {"window statusbox destroy",
       "draw (10, 10) \"System Upgrade Complete....                         \"", "sleep 2000 ms"}));
  EXPECT_TRUE(outcome.reboot_accepted);
  // Pictures of each status box at its first progress, and the last one.
  EXPECT_EQ(outcome.pictures.size(), 3u);

  // The boot after the restart finds nothing to do and starts the new revision.
  const sim::BootOutcome& next = scenario_.Boot();
  EXPECT_FALSE(next.reboot_accepted);
  EXPECT_EQ(WithoutMarkerSearches(scenario_.Story("draw")).size(), 1u);
  ASSERT_TRUE(next.launched);
  EXPECT_TRUE(sim::IsScopeApplication(next.launched->program));
}

TEST_F(PackageUpgradeTest, AnInterruptedUpgradeIsBegunOnceMore) {
  InstallBuiltPackage(machine(), {{"scope/bin/qv7311x.exe", "new scope"}});
  // The install of an earlier boot was cut short.
  machine().WriteHost(std::string(kStagingFolder) + "qv731upg.fld", "");
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story("draw"),
                     {"draw (10, 10) \"Beginning System Upgrade ....                   \"",
                      "draw (10, 10) \"System Upgrade Complete....                         \""}));
  EXPECT_EQ(Read("scope/bin/qv7311x.exe"), "new scope");
  EXPECT_FALSE(Exists(machine(), std::string(kStagingFolder) + "qv731upg.hdr"));
  EXPECT_FALSE(Exists(machine(), std::string(kStagingFolder) + "qv731upg.fld"));

  // Cut short again, the next boot finds the marker and no header: nothing to do.
  machine().WriteHost(std::string(kStagingFolder) + "qv731upg.fld", "");
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_FALSE(outcome.reboot_accepted);
  EXPECT_FALSE(Exists(machine(), std::string(kStagingFolder) + "qv731upg.fld"));
}

// One boot whose power goes after the nth write (never with 0); the number
// of writes it made.
int BootCutAfter(sim::TestMachine& machine, int nth) {
  sim::Machine& booted = machine.Open();
  platform::FaultInjector injector(booted.platform());
  if (nth > 0) injector.CutPowerAfterWrite(nth);
  sim::Boot(booted,
            [&injector](platform::Platform) { return loader::RunLoader(injector.platform()); });
  return injector.WriteCount();
}

TEST(PowerCut, AnUpgradeCutShortAnywhereIsCompletedByTheBootsAfterIt) {
  const TreeFiles package = {{"scope/bin/qv7311x.exe", "new scope"},
                             {"scope/cal/gain.cal", "new gain"},
                             {"readme.txt", "read me"}};
  int writes = 0;
  {
    sim::TestMachine machine;
    InstallBuiltPackage(machine, package);
    writes = BootCutAfter(machine, 0);
  }
  ASSERT_GT(writes, 20);
  for (int nth = 1; nth < writes; nth += writes / 6) {
    sim::TestMachine machine;
    InstallBuiltPackage(machine, package);
    BootCutAfter(machine, nth);
    BootCutAfter(machine, 0);
    BootCutAfter(machine, 0);
    EXPECT_EQ(machine.ReadHost("scope/bin/qv7311x.exe"), "new scope") << nth;
    EXPECT_EQ(machine.ReadHost("scope/cal/GAIN.CAL"), "new gain") << nth;
    EXPECT_FALSE(Exists(machine, std::string(kStagingFolder) + "qv731upg.hdr")) << nth;
    EXPECT_FALSE(Exists(machine, std::string(kStagingFolder) + "qv731upg.fld")) << nth;
    EXPECT_TRUE(Exists(machine, std::string(kStagingFolder) + "qv731upg.arq")) << nth;
  }
}

TEST_F(PackageUpgradeTest, ANewLoaderIsHandedToThePreloaderItBrings) {
  machine().WriteHost("scope/bin/preldr.exe", "old pre-loader");
  machine().WriteHost("scope/bin/qv731Ldr.exe", "old loader");
  InstallBuiltPackage(machine(), {{"scope/bin/qv731ldr.exe", "new loader"},
                                  {"scope/bin/preldr.exe", "new pre-loader"},
                                  {"scope/bin/qv7311x.exe", "new scope"}});
  const sim::BootOutcome& outcome = scenario_.Boot("/clearundo");
  const Lines story = scenario_.Story();
  EXPECT_TRUE(HasRun(story, {"window statusbox destroy", "window main destroy",
                             "start C:\\scope\\bin\\preldr.exe \"preldr.exe /clearundo\" in "
                             "C:\\scope\\bin",
                             "exit with code 0"}))
      << PrintToString(story);
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(Read("scope/bin/preldr.exe"), "new pre-loader");
  EXPECT_EQ(Read("scope/old_rev/scope/bin/preldr.exe"), "old pre-loader");
  EXPECT_EQ(Read("scope/old_rev/scope/bin/qv731Ldr.exe"), "old loader");
  // The rest is the pre-loader's: nothing is installed, the package stays.
  EXPECT_EQ(Read("scope/bin/qv731Ldr.exe"), "old loader");
  EXPECT_NE(Read("scope/bin/qv7311x.exe"), "new scope");
  EXPECT_TRUE(Exists(machine(), std::string(kStagingFolder) + "qv731upg.hdr"));
  EXPECT_EQ(Read("scope/bin/upgrade.log"), OpeningLines());
}

TEST_F(PackageUpgradeTest, ANewLoaderWithoutAnyPreloaderIsNotInstalled) {
  std::filesystem::remove(machine().Host("scope/bin/preldr.exe"));
  InstallBuiltPackage(machine(), {{"scope/bin/qv731ldr.exe", "new loader"}});
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(), {"window statusbox destroy",
                                         "box warning \"Error\" \"Missing preldr.exe\" -> ok"}));
  ASSERT_TRUE(outcome.launched);
  EXPECT_TRUE(sim::IsScopeApplication(outcome.launched->program));
  EXPECT_FALSE(outcome.reboot_accepted);

  // With the installed pre-loader back, that one takes the package.
  machine().WriteHost("scope/bin/preldr.exe", "installed pre-loader");
  InstallBuiltPackage(machine(), {{"scope/bin/qv731ldr.exe", "new loader"}});
  EXPECT_EQ(scenario_.Boot().launched->program, "C:\\scope\\bin\\preldr.exe");
}

TEST_F(PackageUpgradeTest, TheStatusBoxFollowsEachMembersProgress) {
  const qvpkg::BuiltPackage built = InstallBuiltPackage(
      machine(), {{"scope/bin/stored.bin", Noise(40000)}, {"scope/bin/packed.txt", Text(10000)}});
  ASSERT_EQ(built.members.size(), 2u);
  EXPECT_EQ(built.members[0].name, "SCOPE\\BIN\\PACKED.TXT");
  EXPECT_EQ(built.members[0].method, qv::kMethodCompressed);
  EXPECT_EQ(built.members[1].method, qv::kMethodStored);
  scenario_.Boot();
  Lines texts;
  for (const std::string& line : scenario_.Story("window")) {
    if (line.starts_with("window statusbox text")) texts.push_back(line.substr(35));
  }
  EXPECT_EQ(texts,
            (Lines{"\"Starting expansion\"",
                   // Compressed: before each block of 4,096 bytes.
                   "\"Extracting PACKED.TXT  (   %)\"", "\"Extracting PACKED.TXT  ( 40%)\"",
                   "\"Extracting PACKED.TXT  ( 81%)\"", "\"Extracting PACKED.TXT  ( 81%)done.\"",
                   // Stored: the count comes after every eighth block.
                   "\"Unstoring STORED.BIN  (   %)\"", "\"Extracting STORED.BIN  ( 81%)\"",
                   "\"Extracting STORED.BIN  ( 81%)done.\"", "\"Starting File Copy\"",
                   "\"Copying file: PACKED.TXT\"", "\"Copying file: STORED.BIN\""}))
      << PrintToString(texts);
  EXPECT_TRUE(Read("scope/bin/STORED.BIN") == Noise(40000));
  EXPECT_TRUE(Read("scope/bin/PACKED.TXT") == Text(10000));
}

}  // namespace
}  // namespace qv::tests
