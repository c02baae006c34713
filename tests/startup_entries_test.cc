// Boots with the small repairs of the system: the temporary folder, the
// masks folder, the rename list, the autoexec.bat entry, the display mode
// and the deferred installer.
#include <gtest/gtest.h>

#include "sim/host_io.h"
#include "tests/scenario.h"
#include "tests/staged_upgrade.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;
namespace fs = std::filesystem;

constexpr const char* kRestartLine = "draw (10, 10) \"Your Quorvex will now restart             \"";

bool Restarted(const Scenario& scenario) {
  const Lines draws = scenario.Story("draw");
  return std::find(draws.begin(), draws.end(), kRestartLine) != draws.end();
}

TEST(StartupEntries, TheTempFolderLosesItsFilesAndTheMasksFolderIsMade) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  machine.WriteHost("windows/temp/a.tmp", "");
  machine.WriteHost("windows/temp/ro.tmp", "");
  MakeReadOnly(machine, "windows/temp/ro.tmp");
  machine.WriteHost("windows/temp/sub/keep.tmp", "");
  fs::remove_all(machine.Host("scope/masks"));
  scenario.Boot();
  EXPECT_FALSE(Exists(machine, "windows/temp/a.tmp"));
  EXPECT_FALSE(Exists(machine, "windows/temp/ro.tmp"));
  EXPECT_TRUE(Exists(machine, "windows/temp/sub/keep.tmp"));
  platform::Files& files = scenario.machine().Open().files();
  EXPECT_EQ(*files.GetAttributes("c:\\scope\\masks"),
            platform::attribute::kDirectory | platform::attribute::kSystem);
}

TEST(StartupEntries, TheRenameListRenamesKeepsReadOnlyAndIsDeleted) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  machine.WriteHost("scope/bin/a.exe", "a");
  machine.WriteHost("scope/bin/ro.exe", "ro");
  MakeReadOnly(machine, "scope/bin/ro.exe");
  machine.WriteHost("scope/bin/last.exe", "last");
  machine.WriteHost("scope/data/d.txt", "d");
  // Before any folder line, names are relative to the staging folder,
  // which the masks folder step leaves current.
  machine.WriteHost("scope/upgrade/scope/temp/p.txt", "p");
  machine.WriteHost("chname",
                    "p.txt q.txt\n"
                    "\\scope\\bin\n"
                    "a.exe b.exe\n"
                    "single\n"
                    "ro.exe ro2.exe ignored words\n"
                    "missing.exe x.exe\n"
                    "\\scope\\data\n"
                    "d.txt \\scope\\bin\\d2.txt\n"
                    "\\scope\\bin\n"
                    "last.exe z.exe");  // no line feed: still carried out
  scenario.Boot();
  EXPECT_TRUE(Exists(machine, "scope/upgrade/scope/temp/q.txt"));
  EXPECT_EQ(machine.ReadHost("scope/bin/b.exe"), "a");
  EXPECT_FALSE(Exists(machine, "scope/bin/a.exe"));
  EXPECT_TRUE(IsReadOnly(machine, "scope/bin/ro2.exe"));
  EXPECT_FALSE(Exists(machine, "scope/bin/x.exe"));
  EXPECT_EQ(machine.ReadHost("scope/bin/d2.txt"), "d");
  EXPECT_EQ(machine.ReadHost("scope/bin/z.exe"), "last");
  EXPECT_FALSE(Exists(machine, "chname"));
  EXPECT_TRUE(scenario.Story("box").empty());
}

TEST(StartupEntries, RenameFailuresShowTheSystemsTextAndAFolderLineStopsTheList) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  machine.WriteHost("scope/bin/ro.exe", "ro");
  MakeReadOnly(machine, "scope/bin/ro.exe");
  machine.WriteHost("scope/bin/taken.exe", "taken");
  machine.WriteHost("scope/bin/c.exe", "c");
  const std::string list =
      "\\scope\\bin\n"
      "ro.exe taken.exe\n"
      "c.exe d.exe\n"
      "\\nowhere\n"
      "d.exe e.exe\n";
  machine.WriteHost("chname", list);
  scenario.Boot();
  EXPECT_EQ(
      scenario.Story("box"),
      (Lines{"box error \"qv731Ldr\" \"Cannot create a file when that file already "
             "exists.\\r\\n\" -> ok",
             "box error \"qv731Ldr\" \"The system cannot find the file specified.\\r\\n\" -> ok"}));
  // The failed rename left the old name read-only again; the list went on.
  EXPECT_TRUE(IsReadOnly(machine, "scope/bin/ro.exe"));
  EXPECT_EQ(machine.ReadHost("scope/bin/d.exe"), "c");
  // The list stopped at the folder line and waits for the next boot.
  EXPECT_FALSE(Exists(machine, "scope/bin/e.exe"));
  EXPECT_EQ(machine.ReadHost("chname"), list);
}

TEST(StartupEntries, AnUpgradeAddsTheAutoexecEntryOnce) {
  Scenario scenario;
  const sim::TestMachine& machine = scenario.machine();
  machine.WriteHost("autoexec.bat", "path c:\\windows\r\n");
  scenario.Boot("/copyfiles");
  const std::string entered = "path c:\\windows\r\nc:\\scope\\bin\\cpdll.exe";
  EXPECT_EQ(machine.ReadHost("autoexec.bat"), entered);
  // The entry ends the file without a line end; a second upgrade finds it.
  scenario.Boot("/copyfiles");
  EXPECT_EQ(machine.ReadHost("autoexec.bat"), entered);

  // A line that mentions cpdll anywhere counts.
  machine.WriteHost("autoexec.bat", "rem start cpdll here\r\n");
  scenario.Boot("/copyfiles");
  EXPECT_EQ(machine.ReadHost("autoexec.bat"), "rem start cpdll here\r\n");

  // A file that ends inside a line gets the entry on a line of its own.
  machine.WriteHost("autoexec.bat", "path c:\\windows");
  MakeReadOnly(machine, "autoexec.bat");
  scenario.Boot("/copyfiles");
  EXPECT_EQ(machine.ReadHost("autoexec.bat"), entered);
}

class DeferredInstallerTest : public ::testing::Test {
 protected:
  void Registry(const std::string& json) {
    sim::WriteFileAtomically(scenario_.machine().folder() / "registry.json", json);
  }
  nlohmann::json ReadRegistry() {
    return nlohmann::json::parse(
        *sim::ReadWholeFile(scenario_.machine().folder() / "registry.json"))["HKEY_LOCAL_MACHINE"];
  }

  static constexpr const char* kRunOnce =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce";
  Scenario scenario_;
};

TEST_F(DeferredInstallerTest, AMissingKeyRegistersTheCommandAndRestarts) {
  scenario_.machine().WriteHost("acroinst", "c:\\acro\\setup.exe /s\nSOFTWARE\\Acro\\Reader\n");
  scenario_.Boot();
  const nlohmann::json value = ReadRegistry()[kRunOnce]["acro"];
  EXPECT_EQ(value["type"], "REG_SZ");
  EXPECT_EQ(value["text"], "c:\\acro\\setup.exe /s");
  EXPECT_EQ(value["terminated"], false);
  EXPECT_TRUE(Restarted(scenario_));
  EXPECT_FALSE(Exists(scenario_.machine(), "acroinst"));
}

TEST_F(DeferredInstallerTest, AnExistingKeyRegistersNothing) {
  Registry(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Acro\\Reader": {}}})");
  scenario_.machine().WriteHost("acroinst", "c:\\acro\\setup.exe /s\nSOFTWARE\\Acro\\Reader\n");
  MakeReadOnly(scenario_.machine(), "acroinst");
  scenario_.Boot();
  EXPECT_FALSE(ReadRegistry().contains(kRunOnce));
  EXPECT_FALSE(Restarted(scenario_));
  EXPECT_FALSE(Exists(scenario_.machine(), "acroinst"));
}

TEST_F(DeferredInstallerTest, ALongFirstLineIsCutAndItsRestReadAsTheKey) {
  Registry(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Acro\\Reader": {}}})");
  const std::string command(70, 'c');
  scenario_.machine().WriteHost("acroinst", command + "\nSOFTWARE\\Acro\\Reader\n");
  scenario_.Boot();
  EXPECT_EQ(ReadRegistry()[kRunOnce]["acro"]["text"], command.substr(0, 63));
  EXPECT_TRUE(Restarted(scenario_));
}

TEST(DisplayMode, TheDisplayIsPutIntoTwentyFourBitColour) {
  struct Case {
    int bits;
    int change_result;
    Lines expected;  // the display-change and draw lines
    bool restart;
  };
  const std::string failed =
      "draw (10, 10) \"Display mode change failed, instrument in 16 color mode\"";
  const std::string model_line = "draw (10, 10) \"Starting qv73101A" + std::string(22, ' ') + "\"";
  const Case cases[] = {
      // More than 256 colours: no change is asked for.
      {24, -1, {kMarkerNotFound, model_line}, false},
      {16, -1, {kMarkerNotFound, model_line}, false},
      {8, 0, {"display change to 24 bits: result 0", model_line}, false},
      {8, 1, {"display change to 24 bits: result 1", kRestartLine}, true},
      {8, -1, {"display change to 24 bits: result -1", failed, "sleep 5000 ms", model_line}, false},
  };
  for (const Case& c : cases) {
    Scenario scenario;
    scenario.EditConfig([&](nlohmann::ordered_json& json) {
      json["display"] = {{"bits_per_pixel", c.bits}, {"change_result", c.change_result}};
    });
    scenario.Boot();
    const Lines story = scenario.Story();
    EXPECT_EQ(Restarted(scenario), c.restart) << c.bits << " " << c.change_result;
    EXPECT_TRUE(HasRun(story, c.expected)) << PrintToString(story);
  }
}

}  // namespace
}  // namespace qv::tests
