#include "detector/choice_dialog.h"

namespace qv::detector {
namespace {

// The data exchange into the controls, then an immediate repaint.
void ShowTexts(platform::Desktop& desktop, platform::WindowHandle dialog) {
  desktop.UpdateDialogControls(dialog);
  desktop.UpdateWindow(dialog);
}

}  // namespace

ChoiceTexts ChoiceTexts::For(std::string_view program) {
  const std::string name = "\"" + std::string(program) + "\"";
  ChoiceTexts texts;
  texts.always = "Start Quorvex now and ignore " + name + " in the future.";
  texts.once = "Start Quorvex now but show this dialog\r\nthe next time " + name + " is detected.";
  texts.wait = "Wait for " + name +
               " to terminate before starting Quorvex.\r\nChoose this option if you need to "
               "interact\r\nwith " +
               name;
  texts.message = "Quorvex has detected a program " + name +
                  " running.\r\n\r\nPlease select one of the options below.";
  return texts;
}

std::vector<platform::ControlText> ChoiceTexts::Bound() const {
  return {{kAlwaysTextControl, always},
          {kOnceTextControl, once},
          {kWaitTextControl, wait},
          {kMessageControl, message}};
}

ChoiceDialog::ChoiceDialog(platform::Desktop& desktop, std::string_view program,
                           std::shared_ptr<platform::WindowHandle> answered)
    : desktop_(desktop),
      members_(std::make_shared<ChoiceTexts>(ChoiceTexts::For(program))),
      answered_(std::move(answered)) {}

platform::WindowHandle ChoiceDialog::Create() {
  platform::DialogHandlers handlers;
  handlers.exchange = [members = members_] { return members->Bound(); };
  // After the standard initialisation the texts go in once more and show
  // at once.
  handlers.on_init = [desktop = &desktop_](platform::WindowHandle dialog) {
    ShowTexts(*desktop, dialog);
  };
  handlers.on_command = [members = members_, answered = answered_](platform::WindowHandle dialog,
                                                                   int control_id) {
    switch (control_id) {
      case kWaitButton:
        members->answer = kWait;
        break;
      case kIgnoreAlwaysButton:
        members->answer = kIgnoreAlways;
        break;
      case kIgnoreOnceButton:
        members->answer = kIgnoreOnce;
        break;
      default:
        return;
    }
    *answered = dialog;
  };
  window_ = desktop_.CreateModelessDialog(platform::kChoiceDialogTemplate, std::move(handlers));
  return window_;
}

void ChoiceDialog::Refresh() {
  ShowTexts(desktop_, window_);
}

void ChoiceDialog::DestroyWindow() {
  desktop_.DestroyWindow(window_);
}

}  // namespace qv::detector
