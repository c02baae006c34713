// The main window: show states, status lines as the pixels keep them, the
// private message, and the display.
#include <gtest/gtest.h>

#include "sim/desktop/desktop_test_support.h"

namespace qv::sim {
namespace {

using platform::ShowCommand;
using platform::WindowHandle;
using platform::WindowState;
using testing::DesktopBench;
using testing::MainOptions;

std::vector<std::string> Texts(const SimDesktop& desktop) {
  std::vector<std::string> texts;
  for (const VisibleText& run : desktop.MainWindowText())
    texts.push_back(run.text);
  return texts;
}

TEST(SimDesktopMain, LinesShowOnlyWhileShownAndAnyNewStateWipesThem) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle main = desktop.CreateMainWindow(MainOptions());
  EXPECT_FALSE(desktop.ShowWindow(main, ShowCommand::kShowMinNoActive));
  desktop.DrawClientText(main, 10, 10, "Who am I???");
  EXPECT_TRUE(Texts(desktop).empty());  // minimised: nothing to see

  EXPECT_TRUE(desktop.ShowWindow(main, ShowCommand::kShowMaximized));
  EXPECT_TRUE(Texts(desktop).empty());  // what was drawn while minimised never was
  desktop.DrawClientText(main, 10, 10, "Beginning System Upgrade ....                   ");
  desktop.ShowWindow(main, ShowCommand::kShowMaximized);  // no change: no repaint
  EXPECT_EQ(Texts(desktop).size(), 1u);
  desktop.ShowWindow(main, ShowCommand::kShowNormal);  // resized: only green is left
  EXPECT_TRUE(Texts(desktop).empty());
  desktop.DrawClientText(main, 10, 40, "Please cycle power on the instrument.");
  desktop.ShowWindow(main, ShowCommand::kHide);
  EXPECT_TRUE(Texts(desktop).empty());

  std::vector<std::string> shown;
  for (const WindowEvent& event : bench.observer.Of<WindowEvent>()) {
    EXPECT_EQ(event.window, "main");
    shown.push_back(event.state);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"minimized", "minimized", "maximized", "maximized",
                                             "normal", "hidden"}));
  const std::vector<DrawEvent> draws = bench.observer.Of<DrawEvent>();
  ASSERT_EQ(draws.size(), 3u);  // drawn or not, every line is reported
  EXPECT_EQ(draws[0].text, "Who am I???");
  EXPECT_EQ(draws[2].y, 40);
}

TEST(SimDesktopMain, WhereAWindowInFrontGoesAwayOnlyGreenIsLeft) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle main = desktop.CreateMainWindow(MainOptions());
  desktop.ShowWindow(main, ShowCommand::kShowMaximized);
  desktop.DrawClientText(main, 10, 10, "Beginning System Upgrade ....");
  desktop.DrawClientText(main, 470, 10, "right side");  // clear of every dialog below
  // The status box stands in the middle of the screen.
  const WindowHandle box = desktop.CreateModelessDialog(platform::kStatusBoxTemplate, {});
  desktop.DrawClientText(main, 200, 200, "under the box");
  EXPECT_EQ(Texts(desktop).size(), 3u);
  desktop.DestroyWindow(box);
  EXPECT_EQ(Texts(desktop),
            (std::vector<std::string>{"Beginning System Upgrade ....", "right side"}));

  // The choice dialog stands at the top left; moving it beneath the main
  // window repaints what it covered.
  const WindowHandle dialog = desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, {});
  desktop.PlaceAtBottom(dialog);
  EXPECT_EQ(Texts(desktop), (std::vector<std::string>{"right side"}));

  // Raising the main window over the dialog paints what lay beneath it.
  desktop.PlaceAtBottom(main);
  desktop.DrawClientText(main, 10, 60, "under the dialog");
  EXPECT_EQ(Texts(desktop).size(), 2u);
  desktop.ShowWindow(main, ShowCommand::kShow);
  EXPECT_EQ(Texts(desktop), (std::vector<std::string>{"right side"}));
  EXPECT_EQ(desktop.TopChildWindow(desktop.DesktopWindow()), main);
}

TEST(SimDesktopMain, PrivateMessagesReachTheHandlerWhichMayDestroyItsWindow) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  WindowHandle main;
  std::uint32_t received = 0;
  platform::MainWindowOptions options =
      MainOptions("Quorvex Loader Release A.03.00", WindowState::kMaximized);
  options.on_user_message = [&](std::uint32_t message, std::uintptr_t, std::intptr_t) {
    received = message;
    desktop.ShowWindow(main, ShowCommand::kShowNormal);
    desktop.DrawClientText(main, 10, 10, "Can't communicate with acquisition interface board.  ");
    desktop.DestroyWindow(main);
    return std::intptr_t{1};
  };
  main = desktop.CreateMainWindow(options);
  EXPECT_EQ(desktop.SendWindowMessage(main, platform::kWmUser + 100, 0, 0), 1);
  EXPECT_EQ(received, 0x464u);
  EXPECT_EQ(desktop.SendWindowMessage(main, platform::kWmUser + 100, 0, 0), 0);  // gone
  // The lines of the last main window stay readable after it is gone.
  EXPECT_EQ(Texts(desktop),
            (std::vector<std::string>{"Can't communicate with acquisition interface board.  "}));
  EXPECT_FALSE(desktop.PumpMessage());  // its destruction posted the quit message
}

TEST(SimDesktopDisplay, ColourCountAndModeChanges) {
  struct Case {
    int bits;
    int change_result;
    int colours;
    int result;
    int colours_after;
    std::optional<int> stored;
  };
  const Case cases[] = {
      {24, 0, -1, 0, -1, 24},  {16, 0, -1, 0, -1, 24},  {8, 0, 256, 0, -1, 24},
      {8, 1, 256, 1, 256, 24}, {4, -1, 16, -1, 16, {}}, {8, -2, 256, -2, 256, {}},
  };
  for (const Case& c : cases) {
    DesktopBench bench({}, DisplaySetup{c.bits, c.change_result});
    SimDesktop& desktop = *bench.desktop;
    EXPECT_EQ(desktop.NumColors(), c.colours) << c.bits;
    EXPECT_EQ(desktop.ChangeDisplayBits(24, true), c.result);
    EXPECT_EQ(desktop.NumColors(), c.colours_after) << c.bits << " " << c.change_result;
    EXPECT_EQ(desktop.display().stored_bits, c.stored);
    const std::vector<DisplayChangeEvent> events = bench.observer.Of<DisplayChangeEvent>();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].bits, 24);
    EXPECT_EQ(events[0].result, c.result);
  }
  DesktopBench bench;
  EXPECT_EQ(bench.desktop->ChangeDisplayBits(12, true), platform::kDisplayChangeBadMode);
  EXPECT_EQ(bench.desktop->ChangeDisplayBits(8, false), 0);
  EXPECT_EQ(bench.desktop->NumColors(), 256);
  EXPECT_FALSE(bench.desktop->display().stored_bits);
}

}  // namespace
}  // namespace qv::sim
