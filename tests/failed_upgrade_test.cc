// A package that does not expand whole is never installed: the failure is
// logged, the boot says so, the header and the failure marker go so that
// the same package is not tried again, and the installed revision starts.
#include <gtest/gtest.h>

#include "tests/recording_parts.h"
#include "tests/scenario.h"

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
        HasRun(story, {"call name=clear backup tree", "call name=expand upgrade archive",
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

}  // namespace
}  // namespace qv::tests
