// Boots steered by the small files from outside: the floppy markers that
// choose the scope application's mode, the printer marker with its
// question and the Add Printer wizard, and the LAN request; and the code
// pages a continued upgrade registers.
#include <gtest/gtest.h>

#include "tests/scenario.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;
namespace fs = std::filesystem;

const std::string kPrinterQuestion =
    "box yesno \"qv731Ldr\" \"Did you already add a printer\\nusing the Printer Wizard?\"";
const std::string kStartInTemp =
    "start C:\\scope\\bin\\qv7311x.exe \"scope /scope /qvib\" in C:\\windows\\temp";
// What a request that is a folder, and so cannot be deleted, shows.
const std::string kAccessDenied = "box error \"qv731Ldr\" \"Access is denied.\\r\\n\" -> ok";

// A floppy marker of 300 bytes whose length field holds the bytes given.
std::string Marker(char low, char high) {
  std::string bytes(300, '\0');
  bytes[10] = low;
  bytes[11] = high;
  return bytes;
}

TEST(MarkersBoot, TheServiceMarkerWinsAndTheInternalOneIsNotLookedAt) {
  Scenario scenario({.floppy = true});
  scenario.machine().WriteHost("qv731xx.svc", Marker(0x2C, 0x01), 'A');
  scenario.machine().WriteHost("qv731xx.int", Marker(0x01, 0x2C), 'A');  // not valid
  const sim::BootOutcome& outcome = scenario.Boot();
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->command_line, "scope /scope /qvib /service");
  for (const std::string& draw : scenario.Story("draw")) {
    EXPECT_EQ(draw.find("Failed"), std::string::npos) << draw;
  }

  scenario.machine().WriteHost("qv731xx.svc", Marker(0x01, 0x2C), 'A');
  scenario.machine().WriteHost("qv731xx.int", Marker(0x2C, 0x01), 'A');
  EXPECT_EQ(scenario.Boot("/usb").launched->command_line, "scope /scope /qvib /internal");
}

class PrinterBoot : public ::testing::Test {
 protected:
  PrinterBoot() { scenario_.machine().WriteHost("scope/bin/addpntr.txt", ""); }

  void AnswerNo() {
    scenario_.EditConfig([](nlohmann::ordered_json& json) {
      json["operator"]["boxes"].push_back(
          {{"text", "Did you already add a printer*"}, {"answer", "no"}});
    });
  }
  bool MarkerLeft() { return fs::exists(scenario_.machine().Host("scope/bin/addpntr.txt")); }

  Scenario scenario_;
};

TEST_F(PrinterBoot, YesTakesTheMarkerAsksForARebootAndGoesOn) {
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_FALSE(MarkerLeft());
  EXPECT_TRUE(HasRun(scenario_.Story(),
                     {"window main show maximized", "video bit on", kPrinterQuestion + " -> yes",
                      "reboot requested: accepted", "sleep 10000 ms"}))
      << PrintToString(scenario_.Story());
  EXPECT_TRUE(outcome.reboot_accepted);
  ASSERT_TRUE(outcome.launched);  // the machine goes down while the boot goes on

  scenario_.Boot();
  EXPECT_TRUE(scenario_.Story("box").empty()) << "the marker is consumed";
}

TEST_F(PrinterBoot, NoStartsTheWizardAndEndsTheLoader) {
  AnswerNo();
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_FALSE(MarkerLeft());
  const Lines story = scenario_.Story();
  EXPECT_TRUE(
      HasRun(story, {kPrinterQuestion + " -> no",
                     "box ok \"qv731Ldr\" \"The Add Printer Wizard will now start.\\nAfter "
                     "the printer installation is complete,\\nplease cycle power on the "
                     "scope.\" -> ok",
                     "printer_wizard started=true", "window main destroy", "exit with code 0"}))
      << PrintToString(story);
  EXPECT_FALSE(outcome.launched);
}

TEST_F(PrinterBoot, AShellThatRefusesLeavesALineAndTheBootGoesOn) {
  AnswerNo();
  scenario_.EditConfig([](nlohmann::ordered_json& json) { json["printer_wizard"] = "fails"; });
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_TRUE(HasRun(scenario_.Story(), {"printer_wizard started=false",
                                         "draw (10, 50) \"Can not launch Add Printer Wizard\""}))
      << PrintToString(scenario_.Story());
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\qv7311x.exe");
}

TEST_F(PrinterBoot, AMarkerThatCannotBeDeletedSaysWhyAndIsNotActedOn) {
  const fs::path marker = scenario_.machine().Host("scope/bin/addpntr.txt");
  fs::remove(marker);
  fs::create_directory(marker);
  for (int boot = 0; boot < 2; ++boot) {
    const sim::BootOutcome& outcome = scenario_.Boot();
    EXPECT_EQ(scenario_.Story("box"), Lines{kAccessDenied}) << boot;
    EXPECT_TRUE(scenario_.Story("reboot").empty()) << boot;
    ASSERT_TRUE(outcome.launched);
    EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\qv7311x.exe");
  }
}

TEST(CodePagesBoot, AContinuedUpgradeRegistersTheFourTables) {
  Scenario scenario;
  scenario.Boot("/copyfiles");
  platform::Registry& registry = scenario.machine().Open().platform().registry;
  constexpr std::string_view kKey = "System\\CurrentControlSet\\Control\\Nls\\Codepage";
  for (const char* page : {"932", "949", "950", "936"}) {
    const platform::Result<platform::RegistryValue> value = registry.QueryValue(kKey, page, 64);
    ASSERT_TRUE(value) << page;
    EXPECT_EQ(*value, platform::RegistryValue::String("cp_" + std::string(page) + ".nls"));
  }
  Scenario plain;
  plain.Boot();
  EXPECT_FALSE(plain.machine().Open().platform().registry.OpenKey(kKey));
}

TEST(LanBoot, ARequestStartsTheInstallerOnce) {
  Scenario scenario;
  scenario.machine().WriteHost("scope/upgrade/lan/setup.bat", "");
  scenario.machine().WriteHost("scope/bin/InstallLan.exe", "installer");
  const sim::BootOutcome& outcome = scenario.Boot();
  EXPECT_TRUE(HasRun(
      scenario.Story(),
      {"window statusbox create normal",
       "window statusbox caption \"Quorvex will now install Lan Features\"", "sleep 5000 ms"}))
      << PrintToString(scenario.Story());
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\InstallLan.exe");
  EXPECT_EQ(outcome.launched->command_line, "InstallLan");
  EXPECT_FALSE(fs::exists(scenario.machine().Host("scope/upgrade/lan/setup.bat")));

  EXPECT_EQ(scenario.Boot().launched->program, "C:\\scope\\bin\\qv7311x.exe");
}

TEST(LanBoot, ARequestThatCannotBeDeletedSaysWhyAndStartsNothing) {
  Scenario scenario;
  fs::create_directories(scenario.machine().Host("scope/upgrade/lan/setup.bat"));
  scenario.machine().WriteHost("scope/bin/InstallLan.exe", "installer");
  for (int boot = 0; boot < 2; ++boot) {
    const sim::BootOutcome& outcome = scenario.Boot();
    EXPECT_EQ(scenario.Story("box"), Lines{kAccessDenied}) << boot;
    EXPECT_TRUE(scenario.Story("window").size() == 2u) << PrintToString(scenario.Story("window"));
    ASSERT_TRUE(outcome.launched);
    EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\qv7311x.exe");
  }
}

TEST(LanBoot, ALanFolderWithoutSetupBatStartsNothing) {
  Scenario scenario;
  fs::create_directories(scenario.machine().Host("scope/upgrade/lan"));
  scenario.machine().WriteHost("scope/bin/InstallLan.exe", "installer");
  scenario.Boot();
  EXPECT_EQ(scenario.Story().end()[-2], kStartInTemp);
  EXPECT_TRUE(scenario.Story("window").size() == 2u) << PrintToString(scenario.Story("window"));
}

}  // namespace
}  // namespace qv::tests
