// The main sequence's order of steps, its messages, positions and pauses,
// with the loader's parts recording what the sequence asks of them.
#include <gtest/gtest.h>

#include "tests/recording_parts.h"
#include "tests/scenario.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;

const std::string kModelLine1 = "draw (10, 10) \"Starting qv73101A" + std::string(22, ' ') + "\"";
const std::string kStartOdd = "start C:\\scope\\bin\\qv7311x.exe \"scope /scope /qvib\" in C:\\";

class MainSequenceTest : public ::testing::Test {
 protected:
  MainSequenceTest() { UseRecordingParts(scenario_, script_); }

  // Lets message boxes be answered by the operator section's rules.
  void Answer(const std::string& pattern, const std::string& answer) {
    scenario_.EditConfig([&](nlohmann::ordered_json& json) {
      json["operator"]["boxes"].push_back({{"text", pattern}, {"answer", answer}});
    });
  }

  Scenario scenario_;
  RecordingScript script_;
};

TEST_F(MainSequenceTest, AnOrdinaryBootRunsTheStepsInTheirOrder) {
  scenario_.Boot("/autostart");
  EXPECT_EQ(scenario_.Story(), (Lines{"window main create minimized",
                                      "window main show minimized",
                                      "call name=upgrade context creation",
                                      "call name=reset detector state",
                                      "call name=service marker",
                                      "call name=internal marker",
                                      "call name=load ignore list",
                                      "call name=reset to defaults",
                                      "sleep 5000 ms",
                                      "call name=window scan",
                                      "call name=close all choice dialogs",
                                      "call name=temp cleaning c:\\windows\\temp",
                                      "call name=masks folder step",
                                      "call name=rename list c:\\chname",
                                      "call name=printer marker",
                                      "call name=failure marker test",
                                      "call name=upgrade pending",
                                      "call name=LAN features check",
                                      "call name=display-mode check",
                                      "call name=deferred installer",
                                      kModelLine1,
                                      kStartOdd,
                                      "exit with code 0"}));
}

TEST_F(MainSequenceTest, TheRamDriveSetUpRebootsAndTheWaitLoopScansUntilNothingWaits) {
  scenario_.machine().WriteHost("config.sys",
                                "device=c:\\windows\\himem.sys\r\n"
                                "device=c:\\windows\\ramdrive.sys 16384 /E\r\n");
  scenario_.EditConfig([](nlohmann::ordered_json& json) { json["memory_bytes"] = 33554433; });
  script_.Answer("RAM-drive set-up", {1});
  script_.Answer("load ignore list", {1});
  script_.Answer("window scan", {1, 1, 1, 0});
  scenario_.Boot("/autostart");
  const Lines story = scenario_.Story();
  EXPECT_TRUE(
      HasRun(story, {"call name=RAM-drive set-up", "window statusbox create normal",
                     "window statusbox caption \"Quorvex will now reboot to create RAM "
                     "drive\"",
                     "sleep 5000 ms", "window statusbox destroy", "reboot requested: accepted",
                     "sleep 10000 ms", "call name=service marker"}))
      << PrintToString(story);
  EXPECT_TRUE(HasRun(story, {"call name=load ignore list", "call name=merge defaults",
                             "sleep 5000 ms", "call name=window scan", "call name=window scan",
                             "sleep 2000 ms", "call name=window scan", "sleep 2000 ms",
                             "call name=window scan", "call name=close all choice dialogs"}))
      << PrintToString(story);
  EXPECT_TRUE(HasRun(story, {"call name=masks folder step", "call name=RAM-drive emptying d:\\",
                             "call name=DLL copy", "call name=rename list c:\\chname"}))
      << PrintToString(story);
  EXPECT_EQ(story[story.size() - 2], "start D:\\qv7311x.exe \"scope /scope /qvib\" in C:\\");
}

TEST_F(MainSequenceTest, AScanThatFindsNothingTheSecondTimeEndsTheWait) {
  script_.Answer("window scan", {1, 0});
  scenario_.Boot("/autostart");
  EXPECT_TRUE(
      HasRun(scenario_.Story(), {"sleep 5000 ms", "call name=window scan", "call name=window scan",
                                 "call name=close all choice dialogs"}));
}

TEST_F(MainSequenceTest, ServiceModeAndNoprocLeaveTheScansOut) {
  scenario_.Boot("/service");
  Lines story = scenario_.Story();
  EXPECT_TRUE(HasRun(story, {"call name=service marker", "call name=load ignore list",
                             "call name=reset to defaults", "call name=close all choice dialogs"}))
      << PrintToString(story);

  scenario_.Boot("/noproc /autostart");
  story = scenario_.Story();
  EXPECT_TRUE(HasRun(story, {"call name=internal marker", "call name=close all choice dialogs"}))
      << PrintToString(story);

  // The markers count as the switches do; the internal one only outside
  // service mode.
  script_.Answer("service marker", {1});
  const sim::BootOutcome& outcome = scenario_.Boot("/asi");
  EXPECT_EQ(outcome.launched->command_line, "scope /scope /qvib /service");
  const Lines calls = scenario_.Story("call");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "call name=internal marker"), 0);
  script_.Answer("service marker", {0});
  script_.Answer("internal marker", {1});
  EXPECT_EQ(scenario_.Boot("/asi").launched->command_line, "scope /scope /qvib /internal");
}

TEST_F(MainSequenceTest, PrinterAnsweredNoStartsTheWizardAndEnds) {
  script_.Answer("printer marker", {1});
  script_.Answer("add-printer launch", {1});
  Answer("Did you already add a printer*", "no");
  const sim::BootOutcome& outcome = scenario_.Boot();
  const Lines story = scenario_.Story();
  EXPECT_TRUE(HasRun(
      story, {"call name=printer marker", "call name=delete printer marker",
              "window main show maximized", "video bit on",
              "box yesno \"qv731Ldr\" \"Did you already add a printer\\nusing the Printer "
              "Wizard?\" -> no",
              "box ok \"qv731Ldr\" \"The Add Printer Wizard will now start.\\nAfter the printer "
              "installation is complete,\\nplease cycle power on the scope.\" -> ok",
              "call name=add-printer launch", "window main destroy", "exit with code 0"}))
      << PrintToString(story);
  EXPECT_FALSE(outcome.launched);
  EXPECT_EQ(outcome.pictures.size(), 3u);  // one per box, one at the end
}

TEST_F(MainSequenceTest, PrinterWizardThatDoesNotStartAndAYesGoOnToTheLaunch) {
  script_.Answer("printer marker", {1});
  Answer("Did you already add a printer*", "no");
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(), {"call name=add-printer launch",
                                         "draw (10, 50) \"Can not launch Add Printer Wizard\"",
                                         "call name=failure marker test"}));

  Scenario yes;
  RecordingScript script;
  UseRecordingParts(yes, script);
  script.Answer("printer marker", {1});
  yes.EditConfig([](nlohmann::ordered_json& json) { json["reboot"] = "refused"; });
  EXPECT_TRUE(yes.Boot().launched);  // Yes is the question's default answer
  EXPECT_TRUE(HasRun(yes.Story(), {"reboot requested: refused", "draw (10, 50) \"Can not reboot\"",
                                   "call name=failure marker test"}))
      << PrintToString(yes.Story());
}

TEST_F(MainSequenceTest, DisplayModeChangeResults) {
  script_.Answer("display-mode check", {0});
  script_.Answer("display-mode change", {-1});
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(),
                     {"call name=display-mode change",
                      "draw (10, 10) \"Display mode change failed, instrument in 16 color mode\"",
                      "sleep 5000 ms", "call name=deferred installer", kModelLine1}));

  script_.Answer("display-mode change", {0});
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(), {"call name=display-mode change",
                                         "call name=deferred installer", kModelLine1}));

  // Restart needed: the machine restarts before the launch, which still
  // happens while it goes down.
  script_.Answer("display-mode change", {1});
  scenario_.Boot();
  EXPECT_TRUE(
      HasRun(scenario_.Story(),
             {"call name=deferred installer",
              "draw (10, 10) \"Your Quorvex will now restart             \"",
              "draw (10, 30) \"to complete the upgrade. . .               \"", "sleep 2000 ms",
              "reboot requested: accepted", "sleep 10000 ms", kModelLine1, kStartOdd}))
      << PrintToString(scenario_.Story());
}

TEST_F(MainSequenceTest, ModelCode0AfterADueRestartStillRestarts) {
  scenario_.EditConfig([](nlohmann::ordered_json& json) {
    json["board"]["model_register"] = 8;
    json["reboot"] = "refused";
  });
  script_.Answer("deferred installer", {1});
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(),
                     {"sleep 2000 ms", "reboot requested: refused",
                      "draw (10, 50) \"Can not reboot\"", "draw (10, 10) \"Who am I???\"",
                      "the loader waits in its message loop; the person closes its window"}));
  EXPECT_FALSE(outcome.launched);
  EXPECT_FALSE(outcome.reboot_accepted);
}

TEST_F(MainSequenceTest, LanFeaturesHandOverToTheInstallerOrGoOn) {
  script_.Answer("LAN features check", {1});
  scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(),
                     {"call name=LAN features check", "window statusbox create normal",
                      "window statusbox caption \"Quorvex will now install Lan Features\"",
                      "sleep 5000 ms", "call name=display-mode check"}))
      << PrintToString(scenario_.Story());

  scenario_.machine().WriteHost("scope/bin/InstallLan.exe", "installer");
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\InstallLan.exe");
  EXPECT_EQ(outcome.launched->command_line, "InstallLan");
}

TEST_F(MainSequenceTest, AProcessedRenameListIsDeletedEvenWhenReadOnly) {
  scenario_.machine().WriteHost("chname", "\\scope\\bin\na.exe b.exe\n");
  std::filesystem::permissions(scenario_.machine().Host("chname"),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  scenario_.Boot();
  EXPECT_TRUE(std::filesystem::exists(scenario_.machine().Host("chname")));  // not processed
  script_.Answer("rename list c:\\chname", {1});
  scenario_.Boot();
  EXPECT_FALSE(std::filesystem::exists(scenario_.machine().Host("chname")));
}

}  // namespace
}  // namespace qv::tests
