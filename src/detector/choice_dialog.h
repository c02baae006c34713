// The choice dialog: a modeless dialog from template 150 that asks the user
// whether to wait for a program, to ignore it always, or to ignore it this
// time. Its four texts name the program; a button stores its answer and
// the dialog's own window as the answered dialog, and leaves the dialog
// open: the window scan takes the answer and closes it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace qv::detector {

inline constexpr int kMessageControl = 1002;
inline constexpr int kWaitButton = 1003;
inline constexpr int kIgnoreAlwaysButton = 1004;
inline constexpr int kIgnoreOnceButton = 1005;
inline constexpr int kWaitTextControl = 1006;
inline constexpr int kAlwaysTextControl = 1007;
inline constexpr int kOnceTextControl = 1008;

enum Answer : int { kNoAnswer = -1, kWait = 0, kIgnoreAlways = 1, kIgnoreOnce = 2 };

// The dialog's members: its answer and the texts its controls show.
struct ChoiceTexts {
  int answer = kNoAnswer;
  std::string always;
  std::string once;
  std::string wait;
  std::string message;

  // The four texts formatted with the program's name.
  static ChoiceTexts For(std::string_view program);
  // The texts with the controls they are bound to, in exchange order.
  std::vector<platform::ControlText> Bound() const;
};

class ChoiceDialog {
 public:
  // The dialog stores its window in `answered` when a button is pressed.
  // The desktop must outlive the dialog's window.
  ChoiceDialog(platform::Desktop& desktop, std::string_view program,
               std::shared_ptr<platform::WindowHandle> answered);

  // Creates the window without parent; no window when that fails.
  platform::WindowHandle Create();
  // Copies the texts into the controls again and repaints at once.
  void Refresh();
  void DestroyWindow();

  int answer() const { return members_->answer; }

 private:
  platform::Desktop& desktop_;
  // Shared with the window's handlers, which may outlive this object.
  std::shared_ptr<ChoiceTexts> members_;
  std::shared_ptr<platform::WindowHandle> answered_;
  platform::WindowHandle window_;
};

}  // namespace qv::detector
