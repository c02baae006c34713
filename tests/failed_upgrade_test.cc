// A package that does not expand whole is never installed: the failure is
// logged, the boot says so, the header and the failure marker go so that
// the same package is not tried again, and the installed revision starts.
#include <functional>

#include <gtest/gtest.h>

#include "tests/recording_parts.h"
#include "tests/scenario.h"
#include "tests/staged_upgrade.h"

namespace qv::tests {
namespace {

using ::testing::PrintToString;

TEST(FailedUpgrade, AFailedExpansionEndsTheBranchWithoutInstalling) {
  for (const int expansion : {0, -8, -1}) {
    Scenario scenario;
    RecordingScript script;
    UseRecordingParts(scenario, script);
    script.Answer("upgrade pending", {1});
    script.Answer("expand upgrade archive", {expansion});
    const sim::BootOutcome& outcome = scenario.Boot();
    const std::vector<std::string> story = scenario.Story();
    EXPECT_TRUE(
        HasRun(story, {"call name=clear staging tree", "call name=expand upgrade archive",
                       "call name=upgrade log failed line", "call name=remove upgrade header",
                       "call name=remove failure marker",
                       "draw (10, 10) \"System Upgrade Failed....                           \"",
                       "sleep 2000 ms", "call name=LAN features check"}))
        << expansion << PrintToString(story);
    const std::vector<std::string> calls = scenario.Story("call");
    for (const char* never : {"call name=new-loader test", "call name=tree copy with backup",
                              "call name=create undo marker"}) {
      EXPECT_EQ(std::count(calls.begin(), calls.end(), never), 0) << never;
    }
    EXPECT_FALSE(outcome.reboot_accepted);
    ASSERT_TRUE(outcome.launched);
    EXPECT_TRUE(sim::IsScopeApplication(outcome.launched->program));
  }
}

// What every abandoned package leaves: the old revision installed and
// started, the package's header and failure marker gone, its archive kept,
// no undo marker, no restart, and the log's entry closed as failed.
void ExpectAbandoned(Scenario& scenario, const sim::BootOutcome& outcome,
                     const std::string& failure_line) {
  const sim::TestMachine& machine = scenario.machine();
  const std::vector<std::string> story = scenario.Story();
  EXPECT_TRUE(HasRun(
      story,
      {"draw (10, 10) \"System Upgrade Failed....                           \"", "sleep 2000 ms"}))
      << PrintToString(story);
  EXPECT_FALSE(outcome.reboot_accepted);
  ASSERT_TRUE(outcome.launched);
  EXPECT_TRUE(sim::IsScopeApplication(outcome.launched->program));
  EXPECT_EQ(machine.ReadHost("scope/bin/qv7311x.exe"), "stand-in for qv7311x.exe\r\n");
  EXPECT_FALSE(Exists(machine, std::string(kStagingFolder) + "qv731upg.hdr"));
  EXPECT_FALSE(Exists(machine, std::string(kStagingFolder) + "qv731upg.fld"));
  EXPECT_FALSE(Exists(machine, "scope/old_rev/scope/temp/qv731upg.udo"));
  EXPECT_EQ(machine.ReadHost("scope/bin/upgrade.log"),
            OpeningLines() + failure_line + "Upgrade failed Thu May 17 10:00:02 2001\r\n\r\n");
}

TEST(FailedUpgrade, AMissingArchiveIsAWarningAndNoUpgrade) {
  Scenario scenario;
  WriteHeader(scenario.machine());
  const sim::BootOutcome& outcome = scenario.Boot();
  EXPECT_EQ(scenario.Story("box"),
            (std::vector<std::string>{
                "box warning \"Error\" \"\\\\scope\\\\upgrade\\\\scope\\\\temp\\\\qv731upg.arq : "
                "File does not exist\\n\" -> ok"}));
  const std::vector<std::string> windows = scenario.Story("window");
  EXPECT_EQ(
      std::count_if(windows.begin(), windows.end(),
                    [](const std::string& line) { return line.starts_with("window statusbox"); }),
      0);
  ExpectAbandoned(scenario, outcome,
                  "\\scope\\upgrade\\scope\\temp\\qv731upg.arq : File does not exist\r\n");
}

TEST(FailedUpgrade, AMemberWithACrcErrorStopsTheUpgradeBeforeAnythingIsInstalled) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  InstallBuiltPackage(machine, {{"scope/bin/a.exe", "the first member"},
                                {"scope/bin/qv7311x.exe", "the second member"}});
  // The last data byte of the last member, just before the end marker.
  const std::string archive = std::string(kStagingFolder) + "qv731upg.arq";
  std::string bytes = machine.ReadHost(archive);
  bytes[bytes.size() - 42] ^= 0x01;
  machine.WriteHost(archive, bytes);

  const sim::BootOutcome& outcome = scenario.Boot();
  EXPECT_TRUE(HasRun(scenario.Story(),
                     {"window statusbox destroy",
                      "draw (10, 10) \"System Upgrade Failed....                           \""}));
  // The first member reached the staging tree; nothing reached drive C:.
  EXPECT_TRUE(Exists(machine, "scope/upgrade/scope/bin/A.EXE"));
  EXPECT_FALSE(Exists(machine, "scope/bin/A.EXE"));
  EXPECT_TRUE(Exists(machine, archive));
  ExpectAbandoned(scenario, outcome, "\\SCOPE\\UPGRADE\\SCOPE\\BIN\\QV7311X.EXE : CRC32 error\r\n");
}

// A walk that ends before the archive's end marker has not seen the whole
// package: nothing of it is installed.
TEST(FailedUpgrade, AnArchiveThatEndsBeforeItsEndMarkerIsNeverInstalled) {
  const std::string signature = "\x67\x57\x04\x01";
  struct Damage {
    const char* what;
    std::function<void(std::string&, std::size_t)> apply;  // at the second member's header
    const char* failure;
  };
  const std::vector<Damage> damages = {
      {"truncated", [](std::string& bytes, std::size_t at) { bytes.resize(at); }, "Corrupt header"},
      {"garbage", [](std::string& bytes, std::size_t at) { bytes[at] = 'X'; }, "Corrupt header"},
      {"needs version 3.2", [](std::string& bytes, std::size_t at) { bytes[at + 5] = 0x32; },
       "Incompatible archive version"},
  };
  for (const Damage& damage : damages) {
    Scenario scenario;
    const sim::TestMachine& machine = scenario.machine();
    InstallBuiltPackage(machine, {{"scope/bin/a.exe", "the first member"},
                                  {"scope/bin/qv7311x.exe", "the second member"}});
    const std::string archive = std::string(kStagingFolder) + "qv731upg.arq";
    std::string bytes = machine.ReadHost(archive);
    const std::size_t second = bytes.find(signature, 1);
    ASSERT_NE(second, std::string::npos);
    damage.apply(bytes, second);
    machine.WriteHost(archive, bytes);

    const sim::BootOutcome& outcome = scenario.Boot();
    EXPECT_TRUE(HasRun(scenario.Story("draw"),
                       {"draw (10, 10) \"System Upgrade Failed....                           \""}))
        << damage.what;
    EXPECT_FALSE(Exists(machine, "scope/bin/A.EXE")) << damage.what;
    EXPECT_NE(machine.ReadHost("scope/bin/upgrade.log").find(damage.failure), std::string::npos)
        << damage.what << ": " << machine.ReadHost("scope/bin/upgrade.log");
    EXPECT_FALSE(outcome.reboot_accepted) << damage.what;
  }
}

}  // namespace
}  // namespace qv::tests
