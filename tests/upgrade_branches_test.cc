// Step 16 of the main sequence: the continuing and the beginning upgrade,
// in their order of steps, with the probe files they remove, the pre-loader
// hand-over, and the interrupted upgrade of step 15.
#include <gtest/gtest.h>

#include "tests/recording_parts.h"
#include "tests/scenario.h"

namespace qv::tests {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using ::testing::PrintToString;

class UpgradeBranchesTest : public ::testing::Test {
 protected:
  UpgradeBranchesTest() {
    UseRecordingParts(scenario_, script_);
    for (const char* file :
         {"scope/probes/probedef.dat", "scope/probes/Smart0", "scope/probes/Smart3",
          "scope/probes/keep.dat", "scope/cal/probecal.dat", "scope/cal/keep.cal"}) {
      scenario_.machine().WriteHost(file, "old");
    }
    // Read-only, as an installer may leave it.
    fs::permissions(scenario_.machine().Host("scope/probes/probedef.dat"), fs::perms::owner_write,
                    fs::perm_options::remove);
  }

  bool Exists(const char* file) { return fs::exists(scenario_.machine().Host(file)); }

  Scenario scenario_;
  RecordingScript script_;
};

TEST_F(UpgradeBranchesTest, ContinuingRunsInFullAndRemovesTheProbeFiles) {
  scenario_.Boot("/copyfiles");
  const Lines story = scenario_.Story();
  EXPECT_TRUE(HasRun(
      story, {"call name=failure marker test", "window main show maximized", "video bit on",
              "call name=create instrument folders",
              "draw (10, 10) \"Continuing System Upgrade ....                    \"",
              "sleep 2000 ms", "call name=create failure marker", "call name=list staged folders",
              "call name=upgrade log opening lines", "call name=tree copy with backup",
              "call name=autoexec.bat entry", "call name=create undo marker",
              "call name=remove upgrade header", "call name=remove failure marker",
              "call name=merge defaults", "call name=code pages",
              "draw (10, 10) \"System Upgrade Complete....                \"", "sleep 2000 ms",
              "call name=LAN features check"}))
      << PrintToString(story);
  // The tree copy set the restart flag.
  EXPECT_TRUE(HasRun(story, {"sleep 2000 ms", "reboot requested: accepted", "sleep 10000 ms"}));
  for (const char* gone : {"scope/probes/probedef.dat", "scope/probes/Smart0",
                           "scope/probes/Smart3", "scope/cal/probecal.dat"}) {
    EXPECT_FALSE(Exists(gone)) << gone;
  }
  EXPECT_TRUE(Exists("scope/probes/keep.dat"));
  EXPECT_TRUE(Exists("scope/cal/keep.cal"));
}

TEST_F(UpgradeBranchesTest, BeginningInstallsItselfWithoutANewLoader) {
  script_.Answer("upgrade pending", {1});
  scenario_.Boot("/clearundo");
  const Lines story = scenario_.Story();
  EXPECT_TRUE(
      HasRun(story, {"call name=upgrade pending",
                     "call name=attempts begun",
                     "window main show maximized",
                     "call name=create instrument folders",
                     "video bit on",
                     "draw (10, 10) \"Beginning System Upgrade ....                   \"",
                     "sleep 2000 ms",
                     "call name=clear backup tree",
                     "call name=create failure marker",
                     "call name=upgrade log opening lines",
                     "call name=clear staging tree",
                     "call name=expand upgrade archive",
                     "call name=new-loader test",
                     "call name=create instrument folders",
                     "call name=list staged folders",
                     "call name=tree copy with backup",
                     "call name=autoexec.bat entry",
                     "call name=upgrade log closing line",
                     "call name=create undo marker",
                     "call name=remove upgrade header",
                     "call name=remove failure marker",
                     "draw (10, 10) \"System Upgrade Complete....                         \"",
                     "sleep 2000 ms",
                     "call name=LAN features check",
                     "call name=clear backup tree",
                     "call name=display-mode check"}))
      << PrintToString(story);
  EXPECT_FALSE(Exists("scope/probes/probedef.dat"));  // the later clean-up may write
  EXPECT_FALSE(Exists("scope/cal/probecal.dat"));
}

TEST_F(UpgradeBranchesTest, ANewLoaderHandsOverToThePreloader) {
  script_.Answer("upgrade pending", {1});
  script_.Answer("new-loader test", {1});
  script_.Answer("pre-loader hand-over", {1});
  const sim::BootOutcome& outcome = scenario_.Boot("/clearundo");
  EXPECT_TRUE(
      HasRun(scenario_.Story(), {"call name=pre-loader hand-over", "window main destroy",
                                 "start C:\\scope\\bin\\preldr.exe \"preldr.exe /clearundo\" in "
                                 "C:\\scope\\probes",
                                 "exit with code 0"}))
      << PrintToString(scenario_.Story());
  // Only probedef.dat goes, and not while it is read-only.
  EXPECT_TRUE(Exists("scope/probes/probedef.dat"));
  EXPECT_TRUE(Exists("scope/probes/Smart0"));
  EXPECT_TRUE(Exists("scope/cal/probecal.dat"));
  ASSERT_TRUE(outcome.launched);
  EXPECT_FALSE(sim::IsScopeApplication(outcome.launched->program));
}

TEST_F(UpgradeBranchesTest, WithoutAPreloaderTheBootGoesOn) {
  script_.Answer("upgrade pending", {1});
  script_.Answer("new-loader test", {1});
  script_.Answer("pre-loader hand-over", {-1});
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(), {"call name=pre-loader hand-over",
                                         "box warning \"Error\" \"Missing preldr.exe\" -> ok",
                                         "call name=LAN features check"}));

  // A hand-over whose pre-loader cannot be started: the window is gone, the
  // boot goes on to the launch.
  script_.Answer("pre-loader hand-over", {1});
  fs::remove(scenario_.machine().Host("scope/bin/preldr.exe"));
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(), {"window main destroy", "call name=LAN features check"}));
  ASSERT_TRUE(outcome.launched);
  EXPECT_TRUE(sim::IsScopeApplication(outcome.launched->program));
}

TEST_F(UpgradeBranchesTest, AnInterruptedUpgradeIsBegunAgainKeepingItsHeaderAndBackup) {
  script_.Answer("failure marker test", {1});
  script_.Answer("upgrade pending", {1});
  script_.Answer("attempts begun", {1});
  scenario_.Boot();
  const Lines calls = scenario_.Story("call");
  EXPECT_TRUE(
      HasRun(calls, {"call name=create failure marker", "call name=upgrade log opening lines",
                     "call name=upgrade log attempt 2", "call name=clear staging tree",
                     "call name=expand upgrade archive"}))
      << PrintToString(calls);
  // The backup tree holds what the first attempt saved.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "call name=clear backup tree"), 0);
  EXPECT_TRUE(HasRun(calls, {"call name=create undo marker", "call name=remove upgrade header",
                             "call name=remove failure marker"}));
}

TEST_F(UpgradeBranchesTest, AMarkerWithoutAPendingHeaderIsRemoved) {
  script_.Answer("failure marker test", {1});
  script_.Answer("upgrade pending", {0});
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story("call"),
                     {"call name=failure marker test", "call name=upgrade pending",
                      "call name=remove upgrade header", "call name=remove failure marker"}));
}

TEST_F(UpgradeBranchesTest, AfterTheLastAttemptThePackageIsAbandoned) {
  script_.Answer("failure marker test", {1});
  script_.Answer("upgrade pending", {1});
  script_.Answer("attempts begun", {3});
  const sim::BootOutcome& outcome = scenario_.Boot();
  const Lines story = scenario_.Story();
  EXPECT_TRUE(
      HasRun(story, {"sleep 2000 ms", "call name=upgrade log opening lines",
                     "call name=upgrade log abandoned", "call name=upgrade log failed line",
                     "call name=remove upgrade header", "call name=remove failure marker",
                     "draw (10, 10) \"System Upgrade Failed....                           \""}))
      << PrintToString(story);
  for (const char* never : {"call name=create failure marker", "call name=expand upgrade archive",
                            "call name=tree copy with backup"}) {
    EXPECT_EQ(std::count(story.begin(), story.end(), never), 0) << never;
  }
  EXPECT_FALSE(outcome.reboot_accepted);
  ASSERT_TRUE(outcome.launched);
  EXPECT_TRUE(sim::IsScopeApplication(outcome.launched->program));
}

TEST_F(UpgradeBranchesTest, AFailedCopyIsAFailedAttempt) {
  script_.Answer("upgrade pending", {1});
  script_.Answer("tree copy with backup", {0});
  for (const int begun : {0, 1, 2}) {
    script_.Answer("attempts begun", {begun});
    const sim::BootOutcome& outcome = scenario_.Boot();
    const Lines story = scenario_.Story();
    const bool last = begun + 1 == 3;
    EXPECT_TRUE(
        HasRun(story, {"call name=autoexec.bat entry", last ? "call name=upgrade log abandoned"
                                                            : "call name=upgrade log failed line"}))
        << begun << PrintToString(story);
    EXPECT_EQ(std::count(story.begin(), story.end(), "call name=remove upgrade header"),
              last ? 1 : 0)
        << begun;
    for (const char* never :
         {"call name=upgrade log closing line", "call name=create undo marker"}) {
      EXPECT_EQ(std::count(story.begin(), story.end(), never), 0) << never;
    }
    EXPECT_TRUE(
        HasRun(story, {"draw (10, 10) \"System Upgrade Failed....                           \""}));
    // The next attempt follows at once; after the last, the old revision runs.
    EXPECT_EQ(outcome.reboot_accepted, !last) << begun;
  }
  // A continued upgrade whose copy failed keeps header and marker too.
  scenario_.Boot("/copyfiles");
  const Lines story = scenario_.Story();
  EXPECT_TRUE(HasRun(story, {"call name=autoexec.bat entry",
                             "draw (10, 10) \"System Upgrade Failed....                  \""}))
      << PrintToString(story);
  EXPECT_EQ(std::count(story.begin(), story.end(), "call name=remove upgrade header"), 0);
}

}  // namespace
}  // namespace qv::tests
