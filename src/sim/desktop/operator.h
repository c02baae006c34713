// The simulated person in front of the instrument: answers message boxes
// and presses buttons in the loader's dialogs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop_types.h"
#include "platform/window_handle.h"

namespace qv::sim {

struct BoxQuestion {
  platform::BoxKind kind = platform::BoxKind::kOk;
  std::string caption;
  std::string text;
  std::vector<platform::BoxAnswer> buttons;  // in the box's order
  int scan = 0;                              // window scans so far
  std::int64_t now_ms = 0;
};

struct DialogButton {
  int id = 0;
  std::string text;
};

struct DialogQuestion {
  platform::WindowHandle dialog;
  std::string caption;
  std::vector<std::string> texts;     // the other controls' texts, in template order
  std::vector<DialogButton> buttons;  // push buttons in template order
  int scan = 0;
  std::int64_t now_ms = 0;
};

class Operator {
 public:
  virtual ~Operator() = default;

  // Must return one of question.buttons.
  virtual platform::BoxAnswer AnswerBox(const BoxQuestion& question) = 0;

  // The id of the button pressed now, or none for "not yet". Asked at most
  // once per dialog and scan, when the loader looks for messages.
  virtual std::optional<int> PressButton(const DialogQuestion& question) = 0;
};

}  // namespace qv::sim
