// loader_helper.exe LOG LOADER FOLDER ARGUMENTS [ANSWER...]: the person in
// front of the instrument, for the loader under Wine. Starts LOADER in FOLDER
// with the command line ARGUMENTS (the programs it starts append to LOG),
// watches its windows until it ends,
// prints each message box and dialog once as it appears
//   box "CAPTION" "TEXT" -> "BUTTON"
//   dialog "CAPTION" -> "BUTTON"
// and presses buttons: each ANSWER in turn is the text of the button to
// press in the next window that has one; without answers a message box gets
// its first button and a dialog none. An ANSWER "hold:NAME" instead makes
// the helper hold the named mutex while the loader runs, as another copy of
// the loader would. Prints "exit CODE" at the end.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

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

// Bytes with CR and LF shown, in quotes.
std::string Shown(const std::string& text) {
  std::string shown = "\"";
  for (const char c : text) {
    shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return shown + "\"";
}

// A button's text without the & that marks its access key ("&Yes").
std::string WithoutAccelerator(std::string text) {
  const std::size_t mark = text.find('&');
  if (mark != std::string::npos) text.erase(mark, 1);
  return text;
}

class Person {
 public:
  Person(DWORD loader, std::vector<std::string> answers)
      : loader_(loader), answers_(std::move(answers)) {}

  void LookAround() { ::EnumWindows(EachWindow, reinterpret_cast<LPARAM>(this)); }

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
    handled_.insert(window);
    // A message box's buttons are the system's (IDOK, IDYES, IDNO...).
    const bool box = seen.buttons.front().id < 100;
    const Button* press = box ? &seen.buttons.front() : nullptr;
    if (next_ < answers_.size()) {
      for (const Button& button : seen.buttons) {
        if (WithoutAccelerator(button.text) == answers_[next_]) {
          press = &button;
          ++next_;
        }
      }
    }
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
  for (int i = 5; i < argc; ++i) {
    const std::string answer = argv[i];
    if (answer.rfind("hold:", 0) == 0) {
      held.push_back(::CreateMutexA(nullptr, FALSE, answer.substr(5).c_str()));
    } else {
      answers.push_back(answer);
    }
  }
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
  Person person(process.dwProcessId, answers);
  while (::WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT)
    person.LookAround();
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  std::printf("exit %lu\n", code);
  return 0;
}
