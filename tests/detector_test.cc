// Boots with other programs' windows on the desktop: the window scans, the
// choice dialogs and their answers, the window log and the ignore list in
// the registry.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "detector/detector.h"
#include "platform/fault_injector.h"
#include "sim/latin1.h"
#include "tests/scenario.h"

namespace qv::tests {
namespace {

using Lines = std::vector<std::string>;
using ::testing::PrintToString;

constexpr const char* kNotepad = "Untitled - Notepad";

class DetectorTest : public ::testing::Test {
 protected:
  // A program window, topmost first; fields beyond title and class as
  // machine.json's desktop section takes them.
  void AddWindow(const std::string& title, const std::string& class_name,
                 nlohmann::ordered_json more = nlohmann::ordered_json::object()) {
    more["title"] = title;
    more["class"] = class_name;
    scenario_.EditConfig(
        [&](nlohmann::ordered_json& json) { json["desktop"]["windows"].push_back(more); });
  }
  // The operator presses the button in the dialog about the title; from the
  // scan given on.
  void Press(const std::string& title, const std::string& button, int scan = 1) {
    scenario_.EditConfig([&](nlohmann::ordered_json& json) {
      json["operator"]["dialogs"].push_back(
          {{"text", title + "Proc"}, {"press", button}, {"scan", scan}});
    });
  }
  void NeverPress(const std::string& title) { Press(title, "Wait", 1'000'000); }

  std::string Log() { return scenario_.machine().ReadHost("scope/bin/procname.log"); }
  bool LogExists() {
    return std::filesystem::exists(scenario_.machine().Host("scope/bin/procname.log"));
  }
  Lines Choices() const {
    Lines lines;
    for (const std::string& line : scenario_.Story("window")) {
      if (line.starts_with("window choice")) lines.push_back(line);
    }
    return lines;
  }
  long Count(const Lines& lines, const std::string& line) const {
    return std::count(lines.begin(), lines.end(), line);
  }
  // The ignore list as the registry holds it after the boot.
  Lines StoredNames() {
    platform::Registry& registry = scenario_.machine().Open().platform().registry;
    Lines names;
    const auto count = registry.QueryValue(detector::kProcessesKey, detector::kCountValue, 4);
    if (!count) return names;
    for (std::uint32_t i = 0; i < *count->AsDword(); ++i) {
      const auto value =
          registry.QueryValue(detector::kProcessesKey, "Proc" + std::to_string(i), 255);
      names.push_back(value ? value->AsText() : "(missing)");
    }
    return names;
  }
  // The detector of the next boots reaches the ports through a wrapper of
  // them that `wrap` makes.
  void WrapDetectorPorts(
      std::function<std::unique_ptr<platform::PlatformWrapper>(platform::Platform)> wrap) {
    scenario_.change_parts = [this, wrap](app::Subsystems& parts, const app::Services& services) {
      wrapper_ = wrap(services.platform);
      wrapped_.emplace(app::Services{wrapper_->platform(), services.process, services.helpers});
      parts.detector = std::make_unique<detector::Detector>(*wrapped_);
    };
  }
  static Lines ResetNames() {
    return Lines(detector::kResetDefaults.begin(), detector::kResetDefaults.end());
  }

  Scenario scenario_;
  std::unique_ptr<platform::PlatformWrapper> wrapper_;
  std::optional<app::Services> wrapped_;
};

TEST_F(DetectorTest, TheFirstSightingOpensOneDialogAtTheBottomThatWaitsForAnAnswer) {
  AddWindow(kNotepad, "Notepad", {{"process", 210}});
  NeverPress(kNotepad);
  const sim::BootOutcome& outcome = scenario_.Boot("/autostart");
  EXPECT_EQ(outcome.end.way, sim::RunEnd::Way::kStopped);
  const std::string name = R"(\"Untitled - Notepad\")";  // quoted in the story
  EXPECT_EQ(Choices(),
            (Lines{"window choice create normal",
                   "window choice text control 1007 \"Start Quorvex now and ignore " + name +
                       " in the future.\"",
                   "window choice text control 1008 \"Start Quorvex now but show this "
                   "dialog\\r\\nthe next time " +
                       name + " is detected.\"",
                   "window choice text control 1006 \"Wait for " + name +
                       " to terminate before starting Quorvex.\\r\\nChoose this option if you "
                       "need to interact\\r\\nwith " +
                       name + "\"",
                   "window choice text control 1002 \"Quorvex has detected a program " + name +
                       " running.\\r\\n\\r\\nPlease select one of the options below.\"",
                   "window choice caption \"Untitled - NotepadProc\""}))
      << PrintToString(scenario_.Story());
  // The program is waited for at every scan and gets no second dialog.
  const Lines story = scenario_.Story();
  EXPECT_GT(Count(story, "sleep 2000 ms"), 100);
  EXPECT_EQ(Log(), "Untitled - Notepad\r\r\n");
}

TEST_F(DetectorTest, ExplorerWindowsAreClosedAtEveryScanAndNeverLogged) {
  AddWindow("My Computer", "CabinetWClass", {{"on_close", "stay"}});
  AddWindow("Exploring - C:\\", "ExploreWClass", {{"on_close", "stay"}});
  AddWindow(kNotepad, "Notepad", {{"until_ms", 9000}});
  NeverPress(kNotepad);
  scenario_.Boot("/autostart");
  // Scans at 5, 5, 7 and 9 s: Notepad is gone at the last.
  EXPECT_EQ(Count(scenario_.Story(), "sleep 2000 ms"), 2);
  const Lines closes = scenario_.Story("close");
  EXPECT_EQ(Count(closes, "close \"My Computer\" (CabinetWClass) -> stays"), 4);
  EXPECT_EQ(Count(closes, "close \"Exploring - C:\\\\\" (ExploreWClass) -> stays"), 4);
  EXPECT_EQ(closes.size(), 2u * 4);
  EXPECT_EQ(Log(), "Untitled - Notepad\r\r\n");
  EXPECT_EQ(Count(Choices(), "window choice create normal"), 1);
}

TEST_F(DetectorTest, EmptyTitlesAreIgnoredAndHiddenWindowsExamined) {
  AddWindow("", "Untitled", {{"on_close", "stay"}});
  AddWindow("Hidden Helper", "HelperClass", {{"visible", false}});
  AddWindow("Power", "PowerClass", {{"visible", false}});
  Press("Hidden Helper", "Ignore this time");
  scenario_.Boot("/autostart");
  EXPECT_EQ(Choices().front(), "window choice create normal");
  EXPECT_EQ(Count(Choices(), "window choice caption \"Hidden HelperProc\""), 1);
  EXPECT_EQ(Count(Choices(), "window choice create normal"), 1);
  // "Power" is part of the built-in "Power Meter": not asked about.
  EXPECT_EQ(Log(), "Hidden Helper\r\r\nPower*\r\r\n");
}

TEST_F(DetectorTest, IgnoreThisTimeSkipsTheProgramAndLeavesTheRegistry) {
  AddWindow(kNotepad, "Notepad");
  Press(kNotepad, "Ignore this time");
  const sim::BootOutcome& outcome = scenario_.Boot("/autostart");
  const Lines story = scenario_.Story();
  // The second scan, at once, takes the answer: nothing waits any more.
  EXPECT_EQ(Count(story, "sleep 2000 ms"), 0);
  EXPECT_EQ(Count(Choices(), "window choice destroy"), 1);
  EXPECT_TRUE(outcome.launched);
  EXPECT_EQ(StoredNames(), ResetNames());
}

TEST_F(DetectorTest, IgnoreAlwaysRewritesTheRegistryAndLastsAcrossBoots) {
  AddWindow(kNotepad, "Notepad");
  Press(kNotepad, "Ignore always");
  scenario_.Boot("/autostart");
  EXPECT_EQ(scenario_.Story("press"), (Lines{"press choice control 1004 \"Ignore always\""}));
  Lines expected = ResetNames();
  expected.push_back(kNotepad);
  EXPECT_EQ(StoredNames(), expected);
  EXPECT_EQ(Count(scenario_.Story(), "sleep 2000 ms"), 0);

  // The next boot asks nothing and logs the program as skipped.
  scenario_.Boot("/autostart");
  EXPECT_TRUE(Choices().empty());
  EXPECT_EQ(Log(), "Untitled - Notepad*\r\r\n");
  expected.push_back("DESTECH CPU Cooler Utility");
  EXPECT_EQ(StoredNames(), expected);
}

TEST_F(DetectorTest, ALongTitleIsCutTo79CharactersEverywhere) {
  const std::string title = "Setup - " + std::string(90, 'x');
  const std::string cut = title.substr(0, 79);
  AddWindow(title, "Setup");
  Press(cut, "Ignore always");
  scenario_.Boot("/autostart");
  EXPECT_EQ(Count(Choices(), "window choice caption \"" + cut + "Proc\""), 1);
  EXPECT_EQ(StoredNames().back(), cut);
  // Logged in whole with its mark, however long the line.
  scenario_.Boot("/autostart");
  EXPECT_EQ(Log(), cut + "*\r\r\n");
}

TEST_F(DetectorTest, WaitScansEveryTwoSecondsUntilTheProgramIsGone) {
  AddWindow(kNotepad, "Notepad", {{"until_ms", 15000}});
  Press(kNotepad, "Wait");
  const sim::BootOutcome& outcome = scenario_.Boot("/autostart");
  const Lines story = scenario_.Story();
  // Scans at 5 s (the dialog), 5 s (the answer), then 7, 9, 11, 13 and 15 s.
  EXPECT_EQ(Count(story, "sleep 2000 ms"), 5) << PrintToString(story);
  EXPECT_EQ(Count(Choices(), "window choice destroy"), 1);
  EXPECT_TRUE(outcome.launched);
  EXPECT_EQ(StoredNames(), ResetNames());
}

TEST_F(DetectorTest, AProgramThatEndsWithItsDialogOpenEndsTheWait) {
  AddWindow(kNotepad, "Notepad", {{"last_scan", 1}});
  NeverPress(kNotepad);
  const sim::BootOutcome& outcome = scenario_.Boot("/autostart");
  const Lines story = scenario_.Story();
  EXPECT_EQ(Count(story, "sleep 2000 ms"), 0);
  // Close all choice dialogs destroys it after the wait loop.
  EXPECT_EQ(Choices().back(), "window choice destroy");
  EXPECT_TRUE(outcome.launched);
}

TEST_F(DetectorTest, TheLogHoldsTheFirstScanOnly) {
  scenario_.machine().WriteHost("scope/bin/procname.log", "an earlier run's lines\r\n");
  AddWindow("Program Manager", "Progman", {{"process", 4}});
  AddWindow(kNotepad, "Notepad", {{"until_ms", 8000}});
  AddWindow("Late Comer", "Late", {{"first_scan", 2}, {"until_ms", 8000}});
  Press(kNotepad, "Wait");
  Press("Late Comer", "Wait");
  scenario_.Boot("/autostart");
  EXPECT_EQ(Count(Choices(), "window choice create normal"), 2);
  EXPECT_EQ(Log(), "Program Manager*\r\r\nUntitled - Notepad\r\r\n");
}

TEST_F(DetectorTest, AFirstBootStoresTheResetNamesAndTheNextMergesTheTenth) {
  scenario_.Boot();
  EXPECT_EQ(StoredNames(), ResetNames());
  EXPECT_FALSE(LogExists());  // no scans without autostart
  scenario_.Boot();
  Lines expected = ResetNames();
  expected.push_back("DESTECH CPU Cooler Utility");
  EXPECT_EQ(StoredNames(), expected);
}

TEST_F(DetectorTest, TheSwitchesTurnTheDetectorOff) {
  AddWindow(kNotepad, "Notepad");
  scenario_.Boot("/noproc /autostart");
  EXPECT_TRUE(Choices().empty());
  EXPECT_FALSE(LogExists());
  EXPECT_TRUE(StoredNames().empty());
  EXPECT_FALSE(scenario_.machine().Open().platform().registry.OpenKey(detector::kLoaderKey));

  // Service mode loads the list but scans nothing.
  scenario_.Boot("/service");
  EXPECT_TRUE(Choices().empty());
  EXPECT_FALSE(LogExists());
  EXPECT_EQ(StoredNames(), ResetNames());
}

TEST_F(DetectorTest, AContinuedUpgradeWithTheDetectorOffKeepsTheSavedNames) {
  AddWindow(kNotepad, "Notepad");
  Press(kNotepad, "Ignore always");
  scenario_.Boot("/autostart");
  scenario_.Boot("/copyfiles /noproc");
  Lines expected = ResetNames();
  expected.push_back(kNotepad);
  expected.push_back("DESTECH CPU Cooler Utility");
  EXPECT_EQ(StoredNames(), expected);
}

TEST_F(DetectorTest, ADialogThatCannotBeMadeIgnoresTheProgramThisTime) {
  AddWindow(kNotepad, "Notepad");  // never goes
  WrapDetectorPorts([](platform::Platform platform) {
    auto faults = std::make_unique<platform::FaultInjector>(platform);
    faults->FailCall(platform::Call::kCreateDialog, 1, platform::WinError::kNotEnoughMemory, true);
    return faults;
  });
  const sim::BootOutcome& outcome = scenario_.Boot("/autostart");
  EXPECT_TRUE(Choices().empty());
  EXPECT_EQ(Count(scenario_.Story(), "sleep 2000 ms"), 0);
  EXPECT_TRUE(outcome.launched);
  EXPECT_EQ(Log(), "Untitled - Notepad (no choice dialog: ignored this time)\r\r\n");
  EXPECT_EQ(StoredNames(), ResetNames());
}

TEST_F(DetectorTest, DoubleByteTitlesMatchAsTheBytesOfTheirCodePage) {
  // In code page 932, 0x83 leads a two-byte character whose second byte may
  // be a "\"; machine.json holds each byte as one character up to U+00FF.
  const std::string software = "\x83\x5C\x83\x74\x83\x67";  // three characters
  const std::string tool = software.substr(2);
  const std::string apps = "\x83\x41\x83\x76";
  scenario_.EditConfig([](nlohmann::ordered_json& json) { json["code_page"] = 932; });
  platform::Registry& registry = scenario_.machine().Open().platform().registry;
  registry.CreateKey(detector::kProcessesKey);
  registry.SetValue(detector::kProcessesKey, detector::kCountValue,
                    platform::RegistryValue::Dword(1));
  registry.SetValue(detector::kProcessesKey, "Proc0",
                    platform::RegistryValue::String(software + " Setup"));
  AddWindow(sim::BytesToJson(tool), "Tool");
  AddWindow(sim::BytesToJson(apps), "Apps");
  Press(sim::BytesToJson(apps), "Ignore always");
  scenario_.Boot("/autostart");
  EXPECT_EQ(Count(Choices(), "window choice create normal"), 1);
  EXPECT_EQ(Log(), tool + "*\r\r\n" + apps + "\r\r\n");
  Lines expected{software + " Setup"};
  expected.insert(expected.end(), detector::kMergeDefaults.begin(), detector::kMergeDefaults.end());
  expected.push_back(apps);
  EXPECT_EQ(StoredNames(), expected);
}

TEST_F(DetectorTest, AWindowListTheSystemNeverGivesEndsTheScanAfterThreeAttempts) {
  AddWindow(kNotepad, "Notepad");
  int attempts = 0;
  struct FailingList : platform::PlatformWrapper {
    FailingList(platform::Platform inner, int& attempts)
        : PlatformWrapper(inner), attempts_(attempts) {}
    bool EnumerateWindows(const std::function<bool(platform::WindowHandle)>&) override {
      ++attempts_;
      return false;
    }
    int& attempts_;
  };
  WrapDetectorPorts([&attempts](platform::Platform platform) {
    return std::make_unique<FailingList>(platform, attempts);
  });
  const sim::BootOutcome& outcome = scenario_.Boot("/autostart");
  EXPECT_EQ(attempts, detector::kEnumerationAttempts);
  EXPECT_TRUE(Choices().empty());
  EXPECT_TRUE(outcome.launched);
}

}  // namespace
}  // namespace qv::tests
