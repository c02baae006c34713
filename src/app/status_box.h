// The status box: the loader's one-line progress and notice window, a
// modeless dialog from template 130 whose text member is bound to its
// control 1000. A caption carries the headline, the text line the progress.
// The box shows itself when created and repaints at once when its text
// changes; the object may go before its window does.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace qv::app {

inline constexpr int kStatusBoxTextControl = 1000;

class StatusBox {
 public:
  // The text starts empty; the window is not made yet.
  explicit StatusBox(platform::Desktop& desktop);

  void Create();
  void SetCaption(std::string_view caption);
  // Stores the text and copies it into the control at once.
  void SetText(std::string_view text);
  void Destroy();

 private:
  platform::Desktop& desktop_;
  // Shared with the window's data exchange, which may outlive this object.
  std::shared_ptr<std::string> text_ = std::make_shared<std::string>();
  platform::WindowHandle window_;
};

}  // namespace qv::app
