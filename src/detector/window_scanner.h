// The window scan: looks at every top-level window of the system, closes
// Explorer folder windows, and asks about every other program's window
// that is neither on the skip list nor waited for already, with one choice
// dialog per program. The answers are taken at the start of each window's
// turn, after the pending messages (the dialogs' button presses among them)
// have been dispatched, so the dialogs react only while a scan runs. The
// first scan of a run writes the window log.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "detector/choice_dialog.h"
#include "detector/ignore_list.h"
#include "detector/title_match.h"
#include "detector/window_log.h"
#include "platform/platform.h"

namespace qv::detector {

// The classes of Explorer's folder windows, which every scan closes.
inline constexpr std::string_view kCabinetClass = "CabinetWClass";
inline constexpr std::string_view kExploreClass = "ExploreWClass";
// Added to a program's title to caption its choice dialog.
inline constexpr std::string_view kCaptionSuffix = "Proc";
// Added to a program's line in the window log when its choice dialog could
// not be made, so that it was ignored this time.
inline constexpr std::string_view kNoDialogNote = " (no choice dialog: ignored this time)";
// How often a scan asks for the window list when the system fails to give it.
inline constexpr int kEnumerationAttempts = 3;

class WindowScanner {
 public:
  // The platform's ports, the ignore list and the skip list must outlive the
  // scanner.
  WindowScanner(platform::Platform platform, IgnoreList& ignore_list, NameList& skip);

  // One scan; true when some program must still be waited for: a wait
  // answer was taken, a program on the wait list still has a window, or a
  // dialog was opened.
  bool Scan();
  // Destroys every open choice dialog's window and empties the table.
  void CloseAllChoiceDialogs();
  // Empties the wait list and the open-dialog table (leaving their windows)
  // and forgets a pending answer.
  void Reset();

 private:
  struct OpenDialog {
    std::string program;
    ChoiceDialog dialog;
    platform::WindowHandle window;
  };

  // The window callback: value 1 for a window, 0 (with no window) at the end
  // of the scan. False stops the enumeration.
  bool Examine(platform::WindowHandle window, int value);
  void PumpMessages();
  void TakeAnswer();
  // False when the dialog cannot be made: the program is then skipped for
  // the rest of the run.
  bool OpenChoiceDialog(const std::string& title);
  void RefreshChoiceDialogs();
  platform::CodePage Page() const { return platform_.system.ActiveCodePage(); }

  platform::Platform platform_;
  IgnoreList& ignore_list_;
  NameList& skip_;
  NameList wait_;
  std::list<OpenDialog> table_;
  // Written by the dialogs' buttons during the message pump.
  std::shared_ptr<platform::WindowHandle> answered_ = std::make_shared<platform::WindowHandle>();
  bool must_wait_ = false;
  std::uint32_t own_process_ = 0;
  bool log_pending_ = true;
  WindowLog log_;
};

}  // namespace qv::detector
