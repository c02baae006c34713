#include "sim/boot_observer.h"

#include "sim/desktop/desktop_names.h"

namespace qv::sim {
namespace {

using Fields = nlohmann::ordered_json;

void Add(Journal& journal, const DrawEvent& event) {
  journal.Record("draw", {{"x", event.x}, {"y", event.y}, {"text", event.text}});
}

void Add(Journal& journal, const WindowEvent& event) {
  Fields fields = {{"window", event.window}, {"op", WindowOpName(event.op)}};
  if (event.op == WindowOp::kCreate || event.op == WindowOp::kShow) fields["state"] = event.state;
  if (event.op == WindowOp::kText) fields["control"] = event.control_id;
  if (event.op == WindowOp::kCaption || event.op == WindowOp::kText) fields["text"] = event.text;
  journal.Record("window", fields);
}

void Add(Journal& journal, const BoxEvent& event) {
  journal.Record("box", {{"kind", BoxKindName(event.kind)},
                         {"caption", event.caption},
                         {"text", event.text},
                         {"answer", AnswerName(event.answer)}});
}

void Add(Journal& journal, const PressEvent& event) {
  journal.Record(
      "press", {{"window", event.window}, {"control", event.control_id}, {"button", event.button}});
}

void Add(Journal& journal, const CloseEvent& event) {
  journal.Record("close",
                 {{"title", event.title}, {"class", event.class_name}, {"closed", event.closed}});
}

void Add(Journal& journal, const DisplayChangeEvent& event) {
  journal.Record("display_change", {{"bits", event.bits}, {"result", event.result}});
}

}  // namespace

void RecordDesktopEvent(Journal& journal, const DesktopEvent& event) {
  std::visit([&](const auto& alternative) { Add(journal, alternative); }, event);
}

void BootObserver::Record(const DesktopEvent& event) {
  RecordDesktopEvent(journal_, event);
  const WindowEvent* window = std::get_if<WindowEvent>(&event);
  if (window != nullptr && window->window == "statusbox" && window->op == WindowOp::kCaption) {
    awaiting_progress_.insert(window->handle);
  }
}

void BootObserver::DialogTextChanged(SimDesktop& desktop, platform::WindowHandle dialog) {
  if (awaiting_progress_.erase(dialog) != 0) pictures_.Take(desktop);
}

void BootObserver::LoaderIdle(SimDesktop& desktop) {
  if (left_waiting_) return;  // the person is already closing the window
  left_waiting_ = true;
  pictures_.Take(desktop);
  journal_.Record("waiting");
}

}  // namespace qv::sim
