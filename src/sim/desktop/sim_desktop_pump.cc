// Message boxes, the message pump with the operator's presses, and the
// display.
#include <algorithm>

#include "sim/desktop/sim_desktop.h"

namespace qv::sim {

using platform::BoxAnswer;
using platform::BoxKind;
using platform::WindowHandle;

BoxAnswer SimDesktop::ShowMessageBox(BoxKind kind, std::string_view text) {
  SimWindow box;
  box.role = WindowRole::kMessageBox;
  box.title = kind == BoxKind::kWarning ? kDefaultBoxCaption : setup_.application_name;
  box.class_name = kDialogClass;
  box.process_id = setup_.own_process_id;
  box.visible = true;
  box.box_kind = kind;
  box.box_buttons = kind == BoxKind::kYesNo ? std::vector{BoxAnswer::kYes, BoxAnswer::kNo}
                                            : std::vector{BoxAnswer::kOk};
  box.box = layout_.MessageBoxLayout(box.title, text, box.box_buttons.size());
  box.rect = box.box.window;
  const BoxQuestion question{kind,  box.title,    std::string(text), box.box_buttons,
                             scan_, time_.NowMs()};
  const WindowHandle handle = windows_.Add(std::move(box)).handle;

  observer_.BoxWaiting(*this);
  BoxAnswer answer = person_.AnswerBox(question);
  if (std::find(question.buttons.begin(), question.buttons.end(), answer) ==
      question.buttons.end()) {
    answer = question.buttons.front();
  }
  RemoveWindow(handle);
  Report(BoxEvent{time_.NowMs(), kind, question.caption, question.text, answer});
  return answer;
}

DialogQuestion SimDesktop::QuestionFor(const SimWindow& dialog) const {
  DialogQuestion question;
  question.dialog = dialog.handle;
  question.caption = dialog.title;
  question.scan = scan_;
  question.now_ms = time_.NowMs();
  const std::vector<DialogControl>& controls = dialog.dialog->controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind == ControlKind::kPushButton) {
      question.buttons.push_back({controls[i].id, dialog.control_texts[i]});
    } else if (controls[i].kind != ControlKind::kGroupBox) {
      question.texts.push_back(dialog.control_texts[i]);
    }
  }
  return question;
}

void SimDesktop::OfferDialogsToOperator() {
  // Most calls find every dialog asked already: the walk down the z-order,
  // which gives the order of the presses, is taken only when one is not.
  std::erase_if(dialogs_, [&](WindowHandle handle) { return windows_.Find(handle) == nullptr; });
  const bool any_to_ask = std::any_of(dialogs_.begin(), dialogs_.end(), [&](WindowHandle handle) {
    const SimWindow& dialog = *windows_.Find(handle);
    return dialog.visible && dialog.asked_in_scan != scan_;
  });
  if (!any_to_ask) return;
  const std::vector<WindowHandle> snapshot = windows_.z_order();
  for (const WindowHandle handle : snapshot) {
    SimWindow* window = windows_.Find(handle);
    if (window == nullptr || window->role != WindowRole::kDialog || !window->visible ||
        window->asked_in_scan == scan_) {
      continue;
    }
    const DialogQuestion question = QuestionFor(*window);
    if (question.buttons.empty()) continue;
    if (window->asked_in_scan < 0) observer_.BoxWaiting(*this);
    window->asked_in_scan = scan_;
    const std::optional<int> press = person_.PressButton(question);
    const auto button =
        std::find_if(question.buttons.begin(), question.buttons.end(),
                     [&](const DialogButton& candidate) { return press == candidate.id; });
    if (button != question.buttons.end()) {
      Report(PressEvent{time_.NowMs(), window->dialog->window, button->id, button->text});
      queue_.push_back({handle, platform::kWmCommand, button->id});
    }
  }
}

bool SimDesktop::MessageWaiting() {
  RefreshPrograms();
  OfferDialogsToOperator();
  return !queue_.empty();
}

bool SimDesktop::PumpMessage() {
  RefreshPrograms();
  if (queue_.empty()) OfferDialogsToOperator();
  if (queue_.empty()) {
    observer_.LoaderIdle(*this);
    if (queue_.empty()) {
      // The person closes the main window; without one nothing would ever
      // come, so the loop is ended.
      if (windows_.Find(latest_main_) != nullptr) {
        queue_.push_back({latest_main_, platform::kWmClose});
      } else {
        queue_.push_back({{}, kWmQuit});
      }
    }
  }
  const QueuedMessage message = queue_.front();
  queue_.pop_front();
  if (message.message == kWmQuit) return false;
  Dispatch(message);
  return true;
}

void SimDesktop::Dispatch(const QueuedMessage& message) {
  const SimWindow* window = windows_.Find(message.window);
  if (window == nullptr) return;  // its window is gone: dropped, as the system does
  if (message.message == platform::kWmCommand && window->role == WindowRole::kDialog) {
    // Copied: the handler may destroy the window that holds it.
    if (const auto on_command = window->handlers.on_command) {
      on_command(message.window, message.control_id);
    }
  } else if (message.message == platform::kWmClose) {
    SendWindowMessage(message.window, platform::kWmClose, 0, 0);
  }
}

int SimDesktop::NumColors() {
  return display_.bits > 8 ? -1 : 1 << display_.bits;
}

int SimDesktop::ChangeDisplayBits(int bits_per_pixel, bool update_registry) {
  const int result = IsDisplayDepth(bits_per_pixel) ? setup_.display.change_result
                                                    : platform::kDisplayChangeBadMode;
  if (result == platform::kDisplayChangeSuccessful) display_.bits = bits_per_pixel;
  if (update_registry &&
      (result == platform::kDisplayChangeSuccessful || result == platform::kDisplayChangeRestart)) {
    display_.stored_bits = bits_per_pixel;
  }
  Report(DisplayChangeEvent{time_.NowMs(), bits_per_pixel, result});
  return result;
}

}  // namespace qv::sim
