// The loader's main window: a plain frame window titled with the loader's
// release, created minimised, whose client area is erased green and never
// repainted, so status lines stay only until something covers them. The
// private message kRunMainSequence, sent once by the start-up, runs the main
// sequence inside its handler.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/desktop.h"

namespace qv::app {

inline constexpr std::string_view kTitleText = "Quorvex Loader Release ";
inline constexpr std::string_view kReleaseText = "A.03.00";
inline constexpr platform::Rgb kBackground{50, 255, 50};
// WM_USER + 100, both parameters 0; the handler's result is 1.
inline constexpr std::uint32_t kRunMainSequence = platform::kWmUser + 100;

class MainWindow {
 public:
  // Creates the window (not yet shown); run_main_sequence handles the
  // private message.
  void Create(platform::Desktop& desktop, std::function<void()> run_main_sequence);

  platform::WindowHandle handle() const { return handle_; }

  // Written by the family tests, read by the model line.
  int model_code = 0;

 private:
  platform::WindowHandle handle_;
};

}  // namespace qv::app
