// Boots that end in the launch of the scope application, or fail to: the
// model code chooses the family and the model line, the switches the switch
// set, the RAM drive where the program runs from.
#include <gtest/gtest.h>

#include "tests/scenario.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;

const std::string kPadding22(22, ' ');

TEST(Launch, NormalBootWith32MiBExactlyStartsTheOddFamilyFromDriveC) {
  Scenario scenario;  // model code 1, 33,554,432 bytes of memory
  const sim::BootOutcome& outcome = scenario.Boot();
  EXPECT_EQ(scenario.Story(),
            (Lines{"window main create minimized", "window main show minimized", kMarkerNotFound,
                   kMarkerNotFound, kMarkerNotFound,
                   "draw (10, 10) \"Starting qv73101A" + kPadding22 + "\"",
                   // The temp cleaning left the system's temporary folder current.
                   "start C:\\scope\\bin\\qv7311x.exe \"scope /scope /qvib\" in "
                   "C:\\windows\\temp",
                   "exit with code 0"}));
  EXPECT_EQ(outcome.end.way, sim::RunEnd::Way::kExited);
  ASSERT_TRUE(outcome.launched);
  EXPECT_TRUE(sim::IsScopeApplication(outcome.launched->program));
  EXPECT_FALSE(std::filesystem::exists(scenario.machine().Host("", 'D')));
  EXPECT_EQ(scenario.machine().ReadHost("../../state/launched.json"),
            "{\n  \"program\": \"C:\\\\scope\\\\bin\\\\qv7311x.exe\",\n"
            "  \"cmdline\": \"scope /scope /qvib\",\n  \"cwd\": \"C:\\\\windows\\\\temp\"\n}\n");
}

TEST(Launch, TheModelRegisterChoosesFamilyAndModelLine) {
  struct Case {
    int model_register;
    const char* model_line;  // none: "Who am I???" and nothing starts
    const char* program;
  };
  const std::string unknown = "Unknown Instrument" + std::string(13, ' ');
  const Case cases[] = {
      {0x0B, "Starting qv73103A", "C:\\scope\\bin\\qv7311x.exe"},
      {0xFE, nullptr, "C:\\scope\\bin\\qv7314x.exe"},
      {0x04, "Starting qv73104A", "C:\\scope\\bin\\qv7314x.exe"},
      {0x07, "Starting qv73107A", "C:\\scope\\bin\\qv7311x.exe"},
      {0x08, nullptr, nullptr},
      {0x00, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    Scenario scenario;
    scenario.EditConfig(
        [&](nlohmann::ordered_json& json) { json["board"]["model_register"] = c.model_register; });
    const sim::BootOutcome& outcome = scenario.Boot();
    const Lines draws = WithoutMarkerSearches(scenario.Story("draw"));
    ASSERT_EQ(draws.size(), 1u) << c.model_register;
    if (c.program == nullptr) {
      EXPECT_EQ(draws[0], "draw (10, 10) \"Who am I???\"");
      EXPECT_FALSE(outcome.launched);
      EXPECT_TRUE(outcome.left_waiting);  // the window stays until it is closed
      EXPECT_EQ(outcome.end.way, sim::RunEnd::Way::kReturned);
      continue;
    }
    const std::string line = c.model_line ? c.model_line + kPadding22 : unknown;
    EXPECT_EQ(draws[0], "draw (10, 10) \"" + line + "\"") << c.model_register;
    ASSERT_TRUE(outcome.launched) << c.model_register;
    EXPECT_EQ(outcome.launched->program, c.program);
  }
}

TEST(Launch, SwitchesChooseTheSwitchSetInTheirOrderOfPrecedence) {
  struct Case {
    const char* command_line;
    const char* scope_command_line;
  };
  const Case cases[] = {
      {"", "scope /scope /qvib"},
      {"-usb", "scope /scope /qvib /usb"},
      {"/USB", "scope /scope /qvib"},
      {"/usbkey", "scope /scope /qvib /usb"},
      {"/maint", "scope /scope /qvib /asi"},
      {"/asi", "scope /scope /qvib /asi /minimize /lock"},
      {"/usb /asi", "scope /scope /qvib /asi /minimize /lock"},
      {"/usb /maint", "scope /scope /qvib /asi"},
      {"/asi /internal", "scope /scope /qvib /internal"},
      {"/internal /service", "scope /scope /qvib /service"},
      {"/service /noproc", "scope /scope /qvib /service"},
  };
  for (const Case& c : cases) {
    Scenario scenario;
    const sim::BootOutcome& outcome = scenario.Boot(c.command_line);
    ASSERT_TRUE(outcome.launched) << c.command_line;
    EXPECT_EQ(outcome.launched->command_line, c.scope_command_line) << c.command_line;
  }
}

TEST(Launch, ServiceWithAutostartEndsRightAfterChoosingTheSwitchSet) {
  Scenario scenario;
  const sim::BootOutcome& outcome = scenario.Boot("/autostart /service");
  // Only the service marker was looked for; the steps after the switch set
  // never ran.
  EXPECT_EQ(scenario.Story(), (Lines{"window main create minimized", "window main show minimized",
                                     kMarkerNotFound, "exit with code 0"}));
  EXPECT_FALSE(outcome.launched);
}

// A RAM drive that leaves d:\ as it finds it.
class KeptRamDrive final : public app::RamDrive {
 public:
  bool SetUp() override { return false; }
  void Empty(std::string_view /*folder*/) override {}
  void CopyLibraries() override {}
};

class RamDriveLaunch : public ::testing::Test {
 protected:
  RamDriveLaunch() : scenario_({.model_code = 2, .memory_mib = 48}) {
    scenario_.machine().WriteHost("config.sys",
                                  "device=c:\\windows\\himem.sys\r\n"
                                  "device=c:\\windows\\ramdrive.sys 16384 /E\r\n");
  }

  Scenario scenario_;
};

TEST_F(RamDriveLaunch, CopiesTheProgramOverTheOneOnDAndStartsIt) {
  scenario_.before_loader = [](platform::Platform platform) {
    ASSERT_TRUE(platform.files.Open("d:\\qv7314x.exe", "wb"));  // left by an earlier copy
  };
  const sim::BootOutcome& outcome = scenario_.Boot("/asi");
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->program, "D:\\qv7314x.exe");
  EXPECT_EQ(outcome.launched->command_line, "scope /scope /qvib /asi /minimize /lock");
  EXPECT_EQ(scenario_.machine().ReadHost("qv7314x.exe", 'D'),
            scenario_.machine().ReadHost("scope/bin/qv7314x.exe"));
}

TEST_F(RamDriveLaunch, AReadOnlyCopyOnDCannotBeReplaced) {
  // d:\ kept as it is: the emptying would take the copy away.
  scenario_.change_parts = [](app::Subsystems& parts, const app::Services& /*services*/) {
    parts.ram_drive = std::make_unique<KeptRamDrive>();
  };
  scenario_.before_loader = [](platform::Platform platform) {
    ASSERT_TRUE(platform.files.Open("d:\\qv7314x.exe", "wb"));
    ASSERT_TRUE(platform.files.SetWritable("d:\\qv7314x.exe", false));
  };
  const sim::BootOutcome& outcome = scenario_.Boot();
  EXPECT_EQ(scenario_.Story("box"),
            (Lines{"box error \"qv731Ldr\" \"Access is denied.\\r\\n\" -> ok"}));
  EXPECT_FALSE(outcome.launched);
  EXPECT_EQ(outcome.end.exit_code, 0);
  EXPECT_EQ(scenario_.Story().back(), "exit with code 0");
}

TEST_F(RamDriveLaunch, WithoutTheDriveTheCopyFailsAndNoramLaunchesFromC) {
  // The RAM drive exists only from the boot after config.sys got its lines.
  scenario_.machine().WriteHost("config.sys", "");
  EXPECT_FALSE(scenario_.Boot().launched);
  EXPECT_EQ(scenario_.Story("box"),
            (Lines{"box error \"qv731Ldr\" \"The system cannot find the path specified.\\r\\n\" "
                   "-> ok"}));

  const sim::BootOutcome& outcome = scenario_.Boot("/noram");
  ASSERT_TRUE(outcome.launched);
  EXPECT_EQ(outcome.launched->program, "C:\\scope\\bin\\qv7314x.exe");
}

TEST(Launch, AMissingScopeProgramEndsWithTheSystemsTextAndExitCode0) {
  Scenario scenario;
  std::filesystem::remove(scenario.machine().Host("scope/bin/qv7311x.exe"));
  const sim::BootOutcome& outcome = scenario.Boot();
  EXPECT_EQ(scenario.Story("box"),
            (Lines{"box error \"qv731Ldr\" \"The system cannot find the file specified.\\r\\n\" "
                   "-> ok"}));
  EXPECT_FALSE(outcome.launched);
  EXPECT_EQ(outcome.end.way, sim::RunEnd::Way::kExited);
  EXPECT_EQ(outcome.end.exit_code, 0);
}

}  // namespace
}  // namespace qv::tests
