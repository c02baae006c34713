// Test helpers for the simulated window system: a fixed-pitch font, a
// settable clock, an observer that keeps what it sees, an operator driven by
// lambdas, and a bench that wires a SimDesktop from them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "sim/desktop/desktop_events.h"
#include "sim/desktop/dialog_template.h"
#include "sim/desktop/layout.h"
#include "sim/desktop/operator.h"
#include "sim/desktop/scripted_operator.h"
#include "sim/desktop/sim_desktop.h"
#include "sim/desktop/text_measure.h"

namespace qv::sim::testing {

// Every byte 6 pixels wide, lines 13 pixels tall: dialog base units 6 × 13.
class FixedPitchFont final : public TextMeasure {
 public:
  int Advance(unsigned char) const override { return 6; }
  int Height() const override { return 13; }
};

class ManualTime final : public TimeSource {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  std::int64_t now_ms = 0;
};

class RecordingObserver final : public DesktopObserver {
 public:
  void Record(const DesktopEvent& event) override { events.push_back(event); }
  void BoxWaiting(SimDesktop& desktop) override {
    if (on_box) on_box(desktop);
  }
  void LoaderIdle(SimDesktop& desktop) override {
    ++idle_calls;
    if (on_idle) on_idle(desktop);
  }

  template <typename Event>
  std::vector<Event> Of() const {
    std::vector<Event> found;
    for (const DesktopEvent& event : events) {
      if (const auto* typed = std::get_if<Event>(&event)) found.push_back(*typed);
    }
    return found;
  }

  std::vector<DesktopEvent> events;
  std::function<void(SimDesktop&)> on_box;
  std::function<void(SimDesktop&)> on_idle;
  int idle_calls = 0;
};

// Answers with the given functions, or the defaults.
class LambdaOperator final : public Operator {
 public:
  platform::BoxAnswer AnswerBox(const BoxQuestion& question) override {
    boxes.push_back(question);
    return answer ? answer(question) : DefaultAnswer(question);
  }
  std::optional<int> PressButton(const DialogQuestion& question) override {
    dialogs.push_back(question);
    return press ? press(question) : std::nullopt;
  }

  std::function<platform::BoxAnswer(const BoxQuestion&)> answer;
  std::function<std::optional<int>(const DialogQuestion&)> press;
  std::vector<BoxQuestion> boxes;
  std::vector<DialogQuestion> dialogs;
};

inline constexpr std::uint32_t kOwnProcess = 77;

struct DesktopBench {
  explicit DesktopBench(std::vector<ProgramWindow> programs = {}, DisplaySetup display = {}) {
    SimDesktopSetup setup;
    setup.programs = std::move(programs);
    setup.display = display;
    setup.own_process_id = kOwnProcess;
    desktop =
        std::make_unique<SimDesktop>(std::move(setup), templates, layout, person, observer, time);
  }

  DialogTemplates templates = BuiltInDialogTemplates();
  FixedPitchFont font;
  Layout layout{ScreenSize{}, font, font};
  LambdaOperator person;
  RecordingObserver observer;
  ManualTime time;
  std::unique_ptr<SimDesktop> desktop;
};

inline ProgramWindow Program(std::string title, std::string class_name, std::uint32_t process) {
  ProgramWindow window;
  window.title = std::move(title);
  window.class_name = std::move(class_name);
  window.process_id = process;
  return window;
}

inline constexpr platform::Rgb kGreen{50, 255, 50};

inline platform::MainWindowOptions MainOptions(
    std::string title = "Quorvex Loader Release A.03.00",
    platform::WindowState state = platform::WindowState::kMinimized) {
  platform::MainWindowOptions options;
  options.title = std::move(title);
  options.initial_state = state;
  options.background = kGreen;
  return options;
}

}  // namespace qv::sim::testing
