#include "sim/desktop/desktop_events.h"

#include "sim/desktop/code_page.h"
#include "sim/desktop/desktop_names.h"

namespace qv::sim {
namespace {

const char* OpName(WindowOp op) {
  switch (op) {
    case WindowOp::kCreate:
      return "create";
    case WindowOp::kShow:
      return "show";
    case WindowOp::kCaption:
      return "caption";
    case WindowOp::kText:
      return "text";
    case WindowOp::kDestroy:
      return "destroy";
  }
  return "?";
}

nlohmann::json ToJson(const DrawEvent& event) {
  return {{"t", event.t_ms},
          {"event", "draw"},
          {"x", event.x},
          {"y", event.y},
          {"text", BytesToLatin1Utf8(event.text)}};
}

nlohmann::json ToJson(const WindowEvent& event) {
  nlohmann::json json{
      {"t", event.t_ms}, {"event", "window"}, {"window", event.window}, {"op", OpName(event.op)}};
  if (event.op == WindowOp::kCreate || event.op == WindowOp::kShow) json["state"] = event.state;
  if (event.op == WindowOp::kCaption || event.op == WindowOp::kText) {
    json["text"] = BytesToLatin1Utf8(event.text);
  }
  if (event.op == WindowOp::kText) json["control"] = event.control_id;
  return json;
}

nlohmann::json ToJson(const BoxEvent& event) {
  return {{"t", event.t_ms},
          {"event", "box"},
          {"kind", BoxKindName(event.kind)},
          {"caption", BytesToLatin1Utf8(event.caption)},
          {"text", BytesToLatin1Utf8(event.text)},
          {"answer", AnswerName(event.answer)}};
}

nlohmann::json ToJson(const DisplayChangeEvent& event) {
  return {{"t", event.t_ms},
          {"event", "display_change"},
          {"bits", event.bits},
          {"result", event.result}};
}

}  // namespace

nlohmann::json EventToJson(const DesktopEvent& event) {
  return std::visit([](const auto& alternative) { return ToJson(alternative); }, event);
}

}  // namespace qv::sim
