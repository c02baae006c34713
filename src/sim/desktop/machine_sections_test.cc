#include "sim/desktop/machine_sections.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using nlohmann::json;

TEST(ParseDesktopSection, AbsentSectionHasNoWindows) {
  const auto parsed = ParseDesktopSection(json());
  ASSERT_TRUE(parsed);
  EXPECT_TRUE(parsed.value->empty());
}

TEST(ParseDesktopSection, ReadsEveryFieldAndFillsDefaults) {
  // The machine file is read keeping its order; its sections come as such.
  const auto parsed = ParseDesktopSection(nlohmann::ordered_json::parse(R"({"windows": [
    {"title": "Program Manager", "class": "Progman"},
    {"title": "Untitled - Notepad", "class": "Notepad", "process": 210, "visible": false,
     "state": "maximized", "rect": [80, 60, 320, 200], "from_ms": 100, "until_ms": 9000,
     "first_scan": 2, "last_scan": 4, "on_close": "stay"},
    {"title": "", "class": "x"}]})"));
  ASSERT_TRUE(parsed) << parsed.error;
  const std::vector<ProgramWindow>& windows = *parsed.value;
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(windows[0].process_id, kFirstDefaultProcessId);
  EXPECT_EQ(windows[2].process_id, kFirstDefaultProcessId + 2);
  EXPECT_TRUE(windows[0].visible);
  EXPECT_FALSE(windows[0].rect);
  EXPECT_EQ(windows[0].on_close, CloseBehaviour::kClose);

  const ProgramWindow& notepad = windows[1];
  EXPECT_EQ(notepad.process_id, 210u);
  EXPECT_FALSE(notepad.visible);
  EXPECT_EQ(notepad.state, platform::WindowState::kMaximized);
  EXPECT_EQ(notepad.rect, (PixelRect{80, 60, 320, 200}));
  EXPECT_EQ(notepad.on_close, CloseBehaviour::kStay);
  const Lifetime& life = notepad.lifetime;
  EXPECT_FALSE(life.Begun(2, 99));
  EXPECT_FALSE(life.Begun(1, 100));
  EXPECT_TRUE(life.Begun(2, 100));
  EXPECT_FALSE(life.Ended(4, 8999));
  EXPECT_TRUE(life.Ended(5, 0));
  EXPECT_TRUE(life.Ended(0, 9000));
}

TEST(ParseMachineSections, MalformedSectionsAreRefusedNamingTheField) {
  struct Case {
    const char* section;
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"desktop", R"([])", "desktop: expected an object"},
      {"desktop", R"({"windows": {}})", "desktop.windows: expected an array"},
      {"desktop", R"({"windows": [{"class": "x"}]})", "desktop.windows[0].title: missing"},
      {"desktop", R"({"windows": [{"title": 5, "class": "x"}]})",
       "desktop.windows[0].title: expected a string"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "process": -1}]})",
       "desktop.windows[0].process: expected a whole number from 0 to 4294967295"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "process": 1.5}]})",
       "desktop.windows[0].process: expected a whole number"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "visible": "yes"}]})",
       "desktop.windows[0].visible: expected true or false"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "state": "iconic"}]})",
       "desktop.windows[0].state: expected normal, minimized or maximized"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "rect": [1, 2, 3]}]})",
       "desktop.windows[0].rect: expected [x, y, width, height]"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "rect": [1, 2, -3, 4]}]})",
       "desktop.windows[0].rect[2]: expected a whole number"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "on_close": "never"}]})",
       "desktop.windows[0].on_close: expected close or stay"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "frist_scan": 1}]})",
       "desktop.windows[0].frist_scan: unknown field"},
      {"desktop", R"({"windows": [{"title": "a", "class": "x", "until_ms": 1e30}]})",
       "desktop.windows[0].until_ms: expected a whole number"},
      {"display", R"({"bits_per_pixel": 12})",
       "display.bits_per_pixel: expected 1, 4, 8, 15, 16, 24 or 32"},
      {"display", R"({"change_result": "restart"})", "display.change_result: expected a whole"},
      {"screen", R"({"width": 100000})", "screen.width: expected a whole number from 160 to 4096"},
      {"screen", R"({"height": 0})", "screen.height: expected a whole number from 120 to 4096"},
      {"screen", R"("640x480")", "screen: expected an object"},
  };
  for (const Case& c : cases) {
    const json section = json::parse(c.text);
    const std::string section_name = c.section;
    std::string error;
    if (section_name == "desktop") error = ParseDesktopSection(section).error;
    if (section_name == "display") error = ParseDisplaySection(section).error;
    if (section_name == "screen") error = ParseScreenSection(section).error;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " -> " << error;
  }
}

TEST(ParseMachineSections, DisplayAndScreenDefaultsAndValues) {
  const auto display = ParseDisplaySection(json());
  ASSERT_TRUE(display);
  EXPECT_EQ(display.value->bits, 24);
  EXPECT_EQ(display.value->change_result, 0);
  // The section is shared with the machine's own fields, which pass.
  const auto eight = ParseDisplaySection(
      json::parse(R"({"bits_per_pixel": 8, "change_result": -2, "vendor": "x"})"));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight.value->bits, 8);
  EXPECT_EQ(eight.value->change_result, -2);

  const auto screen = ParseScreenSection(json::parse(R"({"width": 800})"));
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen.value->width, 800);
  EXPECT_EQ(screen.value->height, 480);
}

}  // namespace
}  // namespace qv::sim
