#include "tests/wine/desktop_port_checks.h"

#include <memory>

#include "tests/wine/port_transcript.h"

namespace qv::wine_test {

using platform::WindowHandle;

namespace {

constexpr std::uint32_t kPrivateMessage = platform::kWmUser + 100;

std::string YesNo(bool value) {
  return value ? "yes" : "no";
}

// Our windows in the window list's order: title and class. The input-method
// window that Windows (from 2000 on) and Wine give every thread with windows
// is left out: the loader never makes it, and its scan passes over it as one
// of its own process's windows.
void ListOwnWindows(PortTranscript& out, std::string_view step, platform::Desktop& desktop,
                    std::uint32_t own_process) {
  std::string listed;
  desktop.EnumerateWindows([&](WindowHandle window) {
    if (desktop.WindowProcessId(window) == own_process &&
        desktop.WindowClassName(window, 256) != "IME") {
      listed += "[" + desktop.WindowTitle(window, 256) + " | " +
                desktop.WindowClassName(window, 256) + "]";
    }
    return true;
  });
  out.Line(step, listed);
}

}  // namespace

std::vector<std::string> DesktopPortChecks(
    platform::Desktop& desktop, std::uint32_t own_process,
    const std::function<void(WindowHandle dialog)>& on_dialog) {
  PortTranscript out;
  auto handled = std::make_shared<std::vector<std::uint32_t>>();
  platform::MainWindowOptions options;
  options.title = "Port Walk";
  options.background = {50, 255, 50};
  options.on_user_message = [handled](std::uint32_t message, std::uintptr_t, std::intptr_t) {
    handled->push_back(message);
    return std::intptr_t{1};
  };
  const WindowHandle main = desktop.CreateMainWindow(options);
  out.Line("main window", YesNo(static_cast<bool>(main)));
  out.Line("shown, visible before",
           YesNo(desktop.ShowWindow(main, platform::ShowCommand::kShowMinNoActive)));
  out.Line("shown again, visible before",
           YesNo(desktop.ShowWindow(main, platform::ShowCommand::kShowMinNoActive)));
  desktop.UpdateWindow(main);
  desktop.DrawClientText(main, 10, 10, "Status line   ");
  out.Line("private message answered",
           std::to_string(desktop.SendWindowMessage(main, kPrivateMessage, 0, 0)));
  out.Line("private messages handled", std::to_string(handled->size()));

  auto inits = std::make_shared<int>(0);
  platform::DialogHandlers status;
  status.exchange = [] { return std::vector<platform::ControlText>{{1000, "Expanding..."}}; };
  status.on_init = [inits](WindowHandle) { ++*inits; };
  const WindowHandle status_box =
      desktop.CreateModelessDialog(platform::kStatusBoxTemplate, std::move(status));
  out.Line("status box", YesNo(static_cast<bool>(status_box)));
  out.Line("its initialisation ran", std::to_string(*inits));
  out.Line("caption set", YesNo(desktop.SetWindowTitle(status_box, "Expanding package")));
  out.Line("text of a control it has", YesNo(desktop.SetDialogItemText(status_box, 1000, "Done")));
  out.Line("text of a control it lacks",
           YesNo(desktop.SetDialogItemText(status_box, 1999, "Nothing")));
  if (on_dialog) on_dialog(status_box);

  platform::DialogHandlers choice;
  choice.exchange = [] {
    return std::vector<platform::ControlText>{
        {1002, "A program is running."}, {1006, "Wait"}, {1007, "Always"}, {1008, "Once"}};
  };
  const WindowHandle choice_dialog =
      desktop.CreateModelessDialog(platform::kChoiceDialogTemplate, std::move(choice));
  out.Line("choice dialog", YesNo(static_cast<bool>(choice_dialog)));
  desktop.UpdateDialogControls(choice_dialog);
  if (on_dialog) on_dialog(choice_dialog);
  out.Line("an unknown template", YesNo(static_cast<bool>(desktop.CreateModelessDialog(999, {}))));

  ListOwnWindows(out, "own windows, topmost first", desktop, own_process);
  out.Line("title into 5 bytes", PortTranscript::Shown(desktop.WindowTitle(main, 5)));
  out.Line("title into 0 bytes", PortTranscript::Shown(desktop.WindowTitle(main, 0)));
  out.Line("main placed at the bottom", YesNo(desktop.PlaceAtBottom(main)));
  ListOwnWindows(out, "own windows after it", desktop, own_process);
  out.Line("desktop window destroyed", YesNo(desktop.DestroyWindow(desktop.DesktopWindow())));
  out.Line("status box destroyed", YesNo(desktop.DestroyWindow(status_box)));
  out.Line("status box destroyed again", YesNo(desktop.DestroyWindow(status_box)));
  out.Line("title of a window gone", PortTranscript::Shown(desktop.WindowTitle(status_box, 64)));
  out.Line("owner of a window gone", std::to_string(desktop.WindowProcessId(status_box)));
  out.Line("choice dialog closed",
           std::to_string(desktop.SendWindowMessage(choice_dialog, platform::kWmClose, 0, 0)));
  out.Line("choice dialog left", PortTranscript::Shown(desktop.WindowClassName(choice_dialog, 64)));
  out.Line("colours", std::to_string(desktop.NumColors()));

  out.Line("main destroyed", YesNo(desktop.DestroyWindow(main)));
  // The main window's end posts the quit message: the loop ends.
  int messages = 0;
  while (desktop.PumpMessage() && messages < 1000)
    ++messages;
  out.Line("message loop ended", YesNo(messages < 1000));
  return std::move(out).lines();
}

}  // namespace qv::wine_test
