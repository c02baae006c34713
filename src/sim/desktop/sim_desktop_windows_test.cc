// The window list of all programs: enumeration, owners, lifetimes, close
// requests and z-order.
#include <gtest/gtest.h>

#include "sim/desktop/desktop_test_support.h"

namespace qv::sim {
namespace {

using platform::WindowHandle;
using testing::DesktopBench;
using testing::kOwnProcess;
using testing::MainOptions;
using testing::Program;

std::vector<std::string> Scan(SimDesktop& desktop) {
  std::vector<std::string> titles;
  desktop.EnumerateWindows([&](WindowHandle window) {
    titles.push_back(desktop.WindowTitle(window, 80));
    return true;
  });
  return titles;
}

WindowHandle FindByTitle(SimDesktop& desktop, const std::string& title) {
  WindowHandle found;
  for (WindowHandle w = desktop.TopChildWindow(desktop.DesktopWindow()); w;
       w = desktop.NextWindow(w)) {
    if (desktop.WindowTitle(w, 256) == title) found = w;
  }
  return found;
}

TEST(SimDesktopWindows, EnumerationRunsTopDownOverEveryWindowHiddenOnesIncluded) {
  ProgramWindow spooler = Program("Spooler Process", "SpoolProcessClass", 12);
  spooler.visible = false;
  DesktopBench bench({Program("Program Manager", "Progman", 10), spooler});
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle main = desktop.CreateMainWindow(MainOptions());

  EXPECT_EQ(Scan(desktop), (std::vector<std::string>{"Quorvex Loader Release A.03.00",
                                                     "Program Manager", "Spooler Process"}));
  EXPECT_EQ(desktop.scan_count(), 1);
  EXPECT_EQ(desktop.WindowClassName(main, 80), kFrameWindowClass);
  EXPECT_EQ(desktop.WindowProcessId(main), kOwnProcess);
  const WindowHandle spooler_window = FindByTitle(desktop, "Spooler Process");
  EXPECT_EQ(desktop.WindowClassName(spooler_window, 80), "SpoolProcessClass");
  EXPECT_EQ(desktop.WindowProcessId(spooler_window), 12u);
  // Buffers cut as the system's do; a handle that names nothing reads empty.
  EXPECT_EQ(desktop.WindowTitle(main, 9), "Quorvex ");
  EXPECT_EQ(desktop.WindowTitle(main, 0), "");
  EXPECT_EQ(desktop.WindowClassName(spooler_window, 6), "Spool");
  EXPECT_EQ(desktop.WindowTitle(WindowHandle{0x4444}, 80), "");
  EXPECT_EQ(desktop.WindowProcessId(WindowHandle{}), 0u);
}

TEST(SimDesktopWindows, EnumerationCoversTheWindowsThatExistedWhenItBegan) {
  DesktopBench bench({Program("A", "c", 1), Program("B", "c", 2), Program("C", "c", 3)});
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle b = FindByTitle(desktop, "B");
  std::vector<std::string> visited;
  EXPECT_TRUE(desktop.EnumerateWindows([&](WindowHandle window) {
    visited.push_back(desktop.WindowTitle(window, 80));
    if (visited.size() == 1) {
      desktop.SendWindowMessage(b, platform::kWmClose, 0, 0);          // goes before its turn
      desktop.CreateModelessDialog(platform::kStatusBoxTemplate, {});  // comes after the start
    }
    return true;
  }));
  EXPECT_EQ(visited, (std::vector<std::string>{"A", "C"}));

  int calls = 0;
  EXPECT_FALSE(desktop.EnumerateWindows([&](WindowHandle) { return ++calls < 2; }));
  EXPECT_EQ(calls, 2);
}

TEST(SimDesktopWindows, ProgramsComeAndGoByVirtualTimeAndByScan) {
  ProgramWindow late = Program("Late", "c", 1);
  late.lifetime.from_ms = 5000;
  ProgramWindow brief = Program("Brief", "c", 2);
  brief.lifetime.last_scan = 2;
  ProgramWindow second = Program("Second", "c", 3);
  second.lifetime.first_scan = 2;
  ProgramWindow ending = Program("Ending", "c", 4);
  ending.lifetime.until_ms = 3000;
  DesktopBench bench({late, brief, second, ending});
  SimDesktop& desktop = *bench.desktop;

  EXPECT_EQ(Scan(desktop), (std::vector<std::string>{"Brief", "Ending"}));
  bench.time.now_ms = 3000;
  // Newcomers appear on top.
  EXPECT_EQ(Scan(desktop), (std::vector<std::string>{"Second", "Brief"}));
  bench.time.now_ms = 5000;
  EXPECT_EQ(Scan(desktop), (std::vector<std::string>{"Late", "Second"}));
}

TEST(SimDesktopWindows, CloseRequestClosesAProgramUnlessItStays) {
  ProgramWindow editor = Program("Untitled - Editor", "Editor", 21);
  editor.on_close = CloseBehaviour::kStay;
  DesktopBench bench({Program("Exploring - C:\\", "ExploreWClass", 20), editor});
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle explorer = FindByTitle(desktop, "Exploring - C:\\");
  const WindowHandle editor_window = FindByTitle(desktop, "Untitled - Editor");

  EXPECT_EQ(desktop.SendWindowMessage(explorer, platform::kWmClose, 0, 0), 0);
  desktop.SendWindowMessage(editor_window, platform::kWmClose, 0, 0);
  EXPECT_EQ(desktop.WindowProcessId(explorer), 0u);
  EXPECT_EQ(Scan(desktop), (std::vector<std::string>{"Untitled - Editor"}));
  EXPECT_EQ(Scan(desktop), (std::vector<std::string>{"Untitled - Editor"}));  // stays closed
  // Nobody else's windows can be destroyed.
  EXPECT_FALSE(desktop.DestroyWindow(editor_window));
}

TEST(SimDesktopWindows, BottomPlacementMovesADialogBelowEveryWindow) {
  DesktopBench bench({Program("One", "c", 1), Program("Two", "c", 2)});
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle dialog = desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, {});
  desktop.SetWindowTitle(dialog, "NotepadProc");

  const auto order = [&] {
    std::vector<std::string> titles;
    for (WindowHandle w = desktop.TopChildWindow(desktop.DesktopWindow()); w;
         w = desktop.NextWindow(w)) {
      titles.push_back(desktop.WindowTitle(w, 256));
    }
    return titles;
  };
  EXPECT_EQ(order(), (std::vector<std::string>{"NotepadProc", "One", "Two"}));
  EXPECT_TRUE(desktop.PlaceAtBottom(dialog));
  EXPECT_EQ(order(), (std::vector<std::string>{"One", "Two", "NotepadProc"}));
  EXPECT_EQ(Scan(desktop).back(), "NotepadProc");

  EXPECT_FALSE(desktop.PlaceAtBottom(WindowHandle{0x4444}));
  EXPECT_EQ(desktop.TopChildWindow(dialog), WindowHandle{});  // top-level windows only
  EXPECT_EQ(desktop.NextWindow(WindowHandle{0x4444}), WindowHandle{});
}

}  // namespace
}  // namespace qv::sim
