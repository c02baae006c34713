// The loader's dialogs and message boxes, and the message pump through
// which the operator's presses arrive.
#include <gtest/gtest.h>

#include "sim/desktop/desktop_test_support.h"

namespace qv::sim {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;
using platform::ControlText;
using platform::DialogHandlers;
using platform::WindowHandle;
using testing::DesktopBench;
using testing::MainOptions;
using testing::Program;

struct Press {
  WindowHandle dialog;
  int id = 0;
};

DialogHandlers Recording(std::vector<Press>& presses) {
  DialogHandlers handlers;
  handlers.on_command = [&presses](WindowHandle dialog, int id) {
    presses.push_back({dialog, id});
  };
  return handlers;
}

// What a window scan does with the pump at every window it visits.
void ScanPumping(SimDesktop& desktop) {
  desktop.EnumerateWindows([&](WindowHandle) {
    while (desktop.MessageWaiting())
      desktop.PumpMessage();
    return true;
  });
}

TEST(SimDesktopDialogs, StatusBoxLifeIsReportedInOrder) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  std::string member = "Starting expansion";
  DialogHandlers handlers;
  handlers.exchange = [&] { return std::vector<ControlText>{{1000, member}}; };
  const WindowHandle box = desktop.CreateModelessDialog(platform::kStatusBoxTemplate, handlers);
  desktop.SetWindowTitle(box, "Expanding.......");
  member = "Extracting a.exe  (   %)";
  desktop.UpdateDialogControls(box);
  desktop.UpdateWindow(box);
  desktop.UpdateDialogControls(box);  // nothing new: nothing reported
  EXPECT_FALSE(desktop.SetDialogItemText(box, 1001, "no such control"));
  EXPECT_TRUE(desktop.DestroyWindow(box));
  EXPECT_FALSE(desktop.DestroyWindow(box));

  std::vector<std::string> seen;
  for (const WindowEvent& event : bench.observer.Of<WindowEvent>()) {
    EXPECT_EQ(event.window, "statusbox");
    seen.push_back(std::to_string(static_cast<int>(event.op)) + ":" + event.state + event.text);
  }
  EXPECT_EQ(seen,
            (std::vector<std::string>{"0:normal", "3:Starting expansion", "2:Expanding.......",
                                      "3:Extracting a.exe  (   %)", "4:"}));
  EXPECT_EQ(bench.observer.Of<WindowEvent>()[1].control_id, 1000);
  EXPECT_TRUE(bench.person.dialogs.empty());  // no buttons: nothing to press
  EXPECT_EQ(desktop.CreateModelessDialog(131, {}), WindowHandle{});
}

TEST(SimDesktopDialogs, InitFollowsTheStandardExchangeAndPrecedesShowing) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  std::size_t events_at_init = 0;
  std::size_t windows_on_screen_at_init = 99;
  DialogHandlers handlers;
  handlers.exchange = [] { return std::vector<ControlText>{{1002, "message"}, {1007, "always"}}; };
  handlers.on_init = [&](WindowHandle dialog) {
    events_at_init = bench.observer.events.size();
    windows_on_screen_at_init = desktop.Screen().windows.size();
    desktop.UpdateDialogControls(dialog);
  };
  desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, handlers);
  EXPECT_EQ(events_at_init, 3u);  // create, then the two texts
  EXPECT_EQ(bench.observer.events.size(), 3u);
  EXPECT_EQ(windows_on_screen_at_init, 0u);
  EXPECT_EQ(desktop.Screen().windows.size(), 1u);
}

TEST(SimDesktopDialogs, ButtonPressesArriveThroughThePumpOncePerScan) {
  DesktopBench bench({Program("Untitled - Notepad", "Notepad", 5)});
  SimDesktop& desktop = *bench.desktop;
  bench.person.press = [](const DialogQuestion& question) -> std::optional<int> {
    if (question.scan < 2) return std::nullopt;
    return 1004;
  };
  std::vector<Press> presses;
  const WindowHandle dialog =
      desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, Recording(presses));
  desktop.SetWindowTitle(dialog, "Untitled - NotepadProc");
  desktop.SetDialogItemText(dialog, 1002, "Quorvex has detected a program");

  ScanPumping(desktop);
  EXPECT_TRUE(presses.empty());
  ASSERT_EQ(bench.person.dialogs.size(), 1u);  // two windows visited, asked once
  const DialogQuestion& question = bench.person.dialogs[0];
  EXPECT_EQ(question.dialog, dialog);
  EXPECT_EQ(question.caption, "Untitled - NotepadProc");
  EXPECT_EQ(question.texts.size(), 4u);
  EXPECT_EQ(question.texts[0], "Quorvex has detected a program");
  ASSERT_EQ(question.buttons.size(), 3u);
  EXPECT_EQ(question.buttons[2].text, "Ignore this time");

  ScanPumping(desktop);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].dialog, dialog);
  EXPECT_EQ(presses[0].id, 1004);
  // The handler neither closes nor hides the dialog; the next scan asks again.
  ScanPumping(desktop);
  EXPECT_EQ(presses.size(), 2u);
}

TEST(SimDesktopDialogs, ScriptedOperatorPressesByTheDialogsText) {
  const auto script = ParseOperatorSection(
      nlohmann::json::parse(R"({"dialogs": [{"text": "*\"Untitled - Notepad\"*",
                                              "press": "Ignore always", "scan": 2}]})"),
      BuiltInDialogTemplates());
  ASSERT_TRUE(script) << script.error;
  ScriptedOperator person(*script.value);
  DialogTemplates templates = BuiltInDialogTemplates();
  testing::FixedPitchFont font;
  Layout layout{ScreenSize{}, font, font};
  testing::RecordingObserver observer;
  testing::ManualTime time;
  SimDesktop desktop({}, templates, layout, person, observer, time);

  std::vector<Press> presses;
  DialogHandlers handlers = Recording(presses);
  handlers.exchange = [] {
    return std::vector<ControlText>{
        {1002, "Quorvex has detected a program \"Untitled - Notepad\" running."}};
  };
  const WindowHandle notepad_dialog =
      desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, handlers);
  const WindowHandle other_dialog =
      desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, Recording(presses));
  ScanPumping(desktop);
  ASSERT_EQ(presses.size(), 1u);  // the default presses the other dialog's first button
  EXPECT_EQ(presses[0].dialog, other_dialog);
  EXPECT_EQ(presses[0].id, 1003);
  desktop.DestroyWindow(other_dialog);
  ScanPumping(desktop);
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[1].dialog, notepad_dialog);
  EXPECT_EQ(presses[1].id, 1004);
}

TEST(SimDesktopDialogs, PressForADialogGoneBeforeDispatchIsDropped) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  bench.person.press = [](const DialogQuestion&) { return 1003; };
  std::vector<Press> presses;
  const WindowHandle dialog =
      desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, Recording(presses));
  ASSERT_TRUE(desktop.MessageWaiting());
  desktop.DestroyWindow(dialog);
  EXPECT_TRUE(desktop.PumpMessage());
  EXPECT_TRUE(presses.empty());
  EXPECT_FALSE(desktop.MessageWaiting());
}

TEST(SimDesktopBoxes, CaptionsButtonsAnswersAndEvents) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  bench.person.answer = [](const BoxQuestion& question) {
    return question.kind == BoxKind::kYesNo ? BoxAnswer::kNo : BoxAnswer::kYes;  // Yes: not offered
  };
  EXPECT_EQ(desktop.ShowMessageBox(BoxKind::kYesNo,
                                   "Did you already add a printer\nusing the Printer Wizard?"),
            BoxAnswer::kNo);
  EXPECT_EQ(desktop.ShowMessageBox(BoxKind::kWarning, "c:\\x.arq : File does not exist\n"),
            BoxAnswer::kOk);
  EXPECT_EQ(desktop.ShowMessageBox(BoxKind::kError, "Access is denied.\r\n"), BoxAnswer::kOk);

  ASSERT_EQ(bench.person.boxes.size(), 3u);
  EXPECT_EQ(bench.person.boxes[0].caption, "qv731Ldr");
  EXPECT_EQ(bench.person.boxes[0].buttons, (std::vector{BoxAnswer::kYes, BoxAnswer::kNo}));
  EXPECT_EQ(bench.person.boxes[1].caption, kDefaultBoxCaption);
  EXPECT_EQ(bench.person.boxes[2].caption, "qv731Ldr");
  EXPECT_EQ(bench.person.boxes[2].buttons, (std::vector{BoxAnswer::kOk}));

  const std::vector<BoxEvent> events = bench.observer.Of<BoxEvent>();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].answer, BoxAnswer::kNo);
  EXPECT_EQ(events[1].kind, BoxKind::kWarning);
  EXPECT_EQ(events[1].caption, "Error");
  EXPECT_EQ(events[1].text, "c:\\x.arq : File does not exist\n");
  EXPECT_EQ(events[2].answer, BoxAnswer::kOk);
}

TEST(SimDesktopBoxes, TheBoxIsATopWindowOfTheLoaderWhileItWaits) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  desktop.CreateMainWindow(MainOptions());
  std::string top_title;
  std::string top_class;
  std::uint32_t top_process = 0;
  std::size_t on_screen = 0;
  bench.observer.on_box = [&](SimDesktop& shown) {
    const WindowHandle top = shown.TopChildWindow(shown.DesktopWindow());
    top_title = shown.WindowTitle(top, 80);
    top_class = shown.WindowClassName(top, 80);
    top_process = shown.WindowProcessId(top);
    on_screen = shown.Screen().windows.size();
  };
  desktop.ShowMessageBox(BoxKind::kOk, "The Add Printer Wizard will now start.");
  EXPECT_EQ(top_title, "qv731Ldr");
  EXPECT_EQ(top_class, kDialogClass);
  EXPECT_EQ(top_process, testing::kOwnProcess);
  EXPECT_EQ(on_screen, 1u);  // the main window is not shown yet
  EXPECT_EQ(desktop.WindowTitle(desktop.TopChildWindow(desktop.DesktopWindow()), 80),
            "Quorvex Loader Release A.03.00");
}

TEST(SimDesktopPump, IdleLoaderHasItsMainWindowClosedAndTheLoopEnds) {
  DesktopBench bench;
  SimDesktop& desktop = *bench.desktop;
  const WindowHandle main = desktop.CreateMainWindow(MainOptions());
  int rounds = 0;
  while (desktop.PumpMessage())
    ++rounds;
  EXPECT_EQ(rounds, 1);  // the close request
  EXPECT_EQ(bench.observer.idle_calls, 1);
  EXPECT_EQ(desktop.WindowProcessId(main), 0u);
  EXPECT_EQ(bench.observer.Of<WindowEvent>().back().op, WindowOp::kDestroy);
  // Nothing left to close: the loop ends at once.
  EXPECT_FALSE(desktop.PumpMessage());
}

}  // namespace
}  // namespace qv::sim
