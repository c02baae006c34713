// loader_helper.exe LOG LOADER FOLDER ARGUMENTS [ANSWER...]: the person in
// front of the instrument, for the loader under Wine. Starts LOADER in FOLDER
// with the command line ARGUMENTS (the programs it starts append to LOG),
// watches its windows until it ends,
// prints each message box and dialog once as it appears
//   box "CAPTION" "TEXT" -> "BUTTON"
//   dialog "CAPTION" -> "BUTTON"
// and presses buttons: each ANSWER in turn is the text of the button to
// press in the next message box; without answers a box gets its first
// button. Some ANSWERs instead name a dialog's button or set the scene:
//   press:CAPTION:BUTTON press BUTTON in the dialog captioned CAPTION
//                        (other dialogs get nothing)
//   hold:NAME            hold the named mutex, as another copy of the loader
//   window:CLASS:TITLE   open another program's window (helper_windows.h);
//   hidden:CLASS:TITLE   a hidden one
//   forget:KEY           delete the key below HKEY_LOCAL_MACHINE first
//   registry:KEY         print the key's values at the end (helper_registry.h)
// Prints the other processes' windows before the loader starts
// (helper_windows.h) and "exit CODE" when it has ended.
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/helper_registry.h"
#include "tests/wine/helper_text.h"
#include "tests/wine/helper_windows.h"

namespace {

using qv::wine_test::Shown;

struct Button {
  int id = 0;
  HWND window = nullptr;
  std::string text;
};

struct Seen {
  std::string caption;
  std::vector<std::string> texts;
  std::vector<Button> buttons;
};

std::string TextOf(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

Seen Look(HWND dialog) {
  Seen seen{TextOf(dialog), {}, {}};
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = TextOf(child);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if (ClassOf(child) == "Button" && (style & 0xF) != BS_GROUPBOX) {
      seen.buttons.push_back({::GetDlgCtrlID(child), child, text});
    } else if (!text.empty()) {
      seen.texts.push_back(text);
    }
  }
  return seen;
}

// A button's text without the & that marks its access key ("&Yes").
std::string WithoutAccelerator(std::string text) {
  const std::size_t mark = text.find('&');
  if (mark != std::string::npos) text.erase(mark, 1);
  return text;
}

class Person {
 public:
  Person(DWORD loader, std::vector<std::string> answers,
         std::map<std::string, std::string> dialog_presses)
      : loader_(loader), answers_(std::move(answers)), presses_(std::move(dialog_presses)) {}

  void LookAround() { ::EnumWindows(EachWindow, reinterpret_cast<LPARAM>(this)); }

  // The dialogs that were never answered, with their last captions.
  void PrintUnanswered() const {
    for (const auto& [window, caption] : unanswered_) {
      if (handled_.count(window) == 0)
        std::printf("dialog %s -> nothing\n", Shown(caption).c_str());
    }
  }

 private:
  // A lambda has no stdcall conversion on i686: a function of its own.
  static BOOL CALLBACK EachWindow(HWND window, LPARAM self) {
    reinterpret_cast<Person*>(self)->Consider(window);
    return TRUE;
  }

  void Consider(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != loader_ || !::IsWindowVisible(window) || ClassOf(window) != "#32770" ||
        handled_.count(window) != 0) {
      return;
    }
    const Seen seen = Look(window);
    if (seen.buttons.empty()) return;  // a status box: nothing to answer
    // A message box's buttons are the system's (IDOK, IDYES, IDNO...).
    const bool box = seen.buttons.front().id < 100;
    const Button* press = box ? &seen.buttons.front() : nullptr;
    if (box && next_ < answers_.size()) {
      for (const Button& button : seen.buttons) {
        if (WithoutAccelerator(button.text) == answers_[next_]) {
          press = &button;
          ++next_;
        }
      }
    }
    if (!box) {
      // The loader captions a dialog after making it: it is answered once
      // the caption that the scenario gives is there.
      unanswered_[window] = seen.caption;
      const auto rule = presses_.find(seen.caption);
      if (rule == presses_.end()) return;
      for (const Button& button : seen.buttons) {
        if (WithoutAccelerator(button.text) == rule->second) press = &button;
      }
    }
    handled_.insert(window);
    std::string joined;
    for (const std::string& text : seen.texts)
      joined += (joined.empty() ? "" : " ") + Shown(text);
    std::printf("%s %s%s%s -> %s\n", box ? "box" : "dialog", Shown(seen.caption).c_str(),
                box ? " " : "", box ? joined.c_str() : "",
                press != nullptr ? Shown(WithoutAccelerator(press->text)).c_str() : "nothing");
    std::fflush(stdout);
    if (press != nullptr) {
      ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(press->id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(press->window));
    }
  }

  DWORD loader_;
  std::vector<std::string> answers_;
  std::size_t next_ = 0;
  std::map<std::string, std::string> presses_;  // by dialog caption
  std::map<HWND, std::string> unanswered_;
  std::set<HWND> handled_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: loader_helper LOG LOADER FOLDER ARGUMENTS [ANSWER...]\n");
    return 2;
  }
  ::SetEnvironmentVariableA("QV_STARTED_LOG", argv[1]);
  std::vector<std::string> answers;
  std::vector<HANDLE> held;
  std::vector<qv::wine_test::OtherWindow> windows;
  std::vector<std::string> printed_keys;
  std::map<std::string, std::string> dialog_presses;
  for (int i = 5; i < argc; ++i) {
    const std::string answer = argv[i];
    qv::wine_test::OtherWindow window;
    if (answer.rfind("hold:", 0) == 0) {
      held.push_back(::CreateMutexA(nullptr, FALSE, answer.substr(5).c_str()));
    } else if (qv::wine_test::ParseOtherWindow(answer, window)) {
      windows.push_back(window);
    } else if (answer.rfind("press:", 0) == 0 && answer.rfind(':') > 5) {
      const std::size_t button = answer.rfind(':');
      dialog_presses[answer.substr(6, button - 6)] = answer.substr(button + 1);
    } else if (answer.rfind("forget:", 0) == 0) {
      qv::wine_test::ForgetKey(answer.substr(7));
    } else if (answer.rfind("registry:", 0) == 0) {
      printed_keys.push_back(answer.substr(9));
    } else {
      answers.push_back(answer);
    }
  }
  qv::wine_test::OpenOtherWindows(windows);
  qv::wine_test::PrintPresentWindows();
  std::string command_line = std::string("\"") + argv[2] + "\"";
  if (argv[4][0] != '\0') command_line += std::string(" ") + argv[4];
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(argv[2], command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, argv[3],
                        &startup, &process)) {
    std::fprintf(stderr, "the loader did not start: error %lu\n", ::GetLastError());
    return 1;
  }
  Person person(process.dwProcessId, answers, dialog_presses);
  // The windows the helper opened answer the loader's close requests meanwhile.
  while (::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20, QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      ::DispatchMessageA(&message);
    person.LookAround();
  }
  person.PrintUnanswered();
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  std::printf("exit %lu\n", code);
  for (const std::string& key : printed_keys)
    qv::wine_test::PrintKey(key);
  return 0;
}
