#include "app/status_box.h"

namespace qv::app {

StatusBox::StatusBox(platform::Desktop& desktop) : desktop_(desktop) {}

void StatusBox::Create() {
  platform::DialogHandlers handlers;
  handlers.exchange = [text = text_] {
    return std::vector<platform::ControlText>{{kStatusBoxTextControl, *text}};
  };
  window_ = desktop_.CreateModelessDialog(platform::kStatusBoxTemplate, std::move(handlers));
}

void StatusBox::SetCaption(std::string_view caption) {
  desktop_.SetWindowTitle(window_, caption);
}

void StatusBox::SetText(std::string_view text) {
  *text_ = std::string(text);
  desktop_.UpdateDialogControls(window_);
  desktop_.UpdateWindow(window_);
}

void StatusBox::Destroy() {
  desktop_.DestroyWindow(window_);
}

}  // namespace qv::app
