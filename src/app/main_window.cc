#include "app/main_window.h"

namespace qv::app {

void MainWindow::Create(platform::Desktop& desktop, std::function<void()> run_main_sequence) {
  platform::MainWindowOptions options;
  options.title = std::string(kTitleText) + std::string(kReleaseText);
  options.initial_state = platform::WindowState::kMinimized;
  options.background = kBackground;
  options.on_user_message = [run = std::move(run_main_sequence)](std::uint32_t message,
                                                                 std::uintptr_t,
                                                                 std::intptr_t) -> std::intptr_t {
    if (message != kRunMainSequence) return 0;
    run();
    return 1;
  };
  handle_ = desktop.CreateMainWindow(options);
}

}  // namespace qv::app
