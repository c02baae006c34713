#include "detector/window_scanner.h"

#include <algorithm>
#include <utility>

#include "detector/bottom_placement.h"

namespace qv::detector {
namespace {

// Titles and class names are read into buffers of this size.
constexpr std::size_t kWindowTextBufferSize = 80;

}  // namespace

WindowScanner::WindowScanner(platform::Platform platform, IgnoreList& ignore_list, NameList& skip)
    : platform_(platform), ignore_list_(ignore_list), skip_(skip), log_(platform.files) {}

bool WindowScanner::Scan() {
  must_wait_ = false;
  const auto examine = [this](platform::WindowHandle window) { return Examine(window, 1); };
  for (int attempt = 0; attempt < kEnumerationAttempts; ++attempt) {
    if (platform_.desktop.EnumerateWindows(examine)) break;
  }
  Examine({}, 0);
  return must_wait_;
}

bool WindowScanner::Examine(platform::WindowHandle window, int value) {
  platform::Desktop& desktop = platform_.desktop;
  if (log_pending_) {
    log_pending_ = false;
    log_.Create();
    own_process_ = platform_.system.CurrentProcessId();
  }
  if (value == 0) {
    log_.Close();
    return false;
  }
  PumpMessages();
  if (*answered_) TakeAnswer();
  if (!window) return true;

  std::string title = desktop.WindowTitle(window, kWindowTextBufferSize);
  const std::string class_name = desktop.WindowClassName(window, kWindowTextBufferSize);
  if (class_name == kCabinetClass || class_name == kExploreClass) {
    desktop.SendWindowMessage(window, platform::kWmClose, 0, 0);
    return true;
  }
  if (title.empty()) return true;
  if (desktop.WindowProcessId(window) == own_process_) return true;

  if (MatchesList(Page(), skip_, title)) {
    title += '*';
  } else if (MatchesList(Page(), wait_, title)) {
    must_wait_ = true;
  } else if (!OpenChoiceDialog(title)) {
    title += kNoDialogNote;
  }
  log_.WriteLine(title);
  return true;
}

void WindowScanner::PumpMessages() {
  platform::Desktop& desktop = platform_.desktop;
  while (desktop.MessageWaiting()) {
    if (!desktop.PumpMessage()) break;
  }
}

void WindowScanner::TakeAnswer() {
  const platform::WindowHandle answered = std::exchange(*answered_, platform::WindowHandle{});
  const auto entry = std::find_if(table_.begin(), table_.end(),
                                  [&](const OpenDialog& open) { return open.window == answered; });
  if (entry == table_.end()) return;
  switch (entry->dialog.answer()) {
    case kWait:
      wait_.push_back(entry->program);
      must_wait_ = true;
      break;
    case kIgnoreAlways:
      ignore_list_.AddAndSave(entry->program);
      break;
    case kIgnoreOnce:
      skip_.push_back(entry->program);
      break;
    default:
      break;
  }
  // The name stays on the wait list, where opening the dialog put it.
  entry->dialog.DestroyWindow();
  table_.erase(entry);
  RefreshChoiceDialogs();
}

bool WindowScanner::OpenChoiceDialog(const std::string& title) {
  platform::Desktop& desktop = platform_.desktop;
  ChoiceDialog dialog(desktop, title, answered_);
  const platform::WindowHandle window = dialog.Create();
  if (!window) {
    // Nobody could ever answer a wait for it: the program is ignored this
    // time, as its own button would have it.
    skip_.push_back(title);
    return false;
  }
  const std::string caption = title + std::string(kCaptionSuffix);
  desktop.SetWindowTitle(window, caption);
  PlaceAtBottom(desktop, Page(), desktop.DesktopWindow(), caption, true);
  RefreshChoiceDialogs();
  table_.push_back({title, std::move(dialog), window});
  wait_.push_back(title);
  must_wait_ = true;
  return true;
}

void WindowScanner::RefreshChoiceDialogs() {
  for (OpenDialog& open : table_)
    open.dialog.Refresh();
}

void WindowScanner::CloseAllChoiceDialogs() {
  for (OpenDialog& open : table_)
    open.dialog.DestroyWindow();
  table_.clear();
}

void WindowScanner::Reset() {
  wait_.clear();
  table_.clear();
  *answered_ = {};
}

}  // namespace qv::detector
