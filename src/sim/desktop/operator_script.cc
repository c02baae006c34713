#include "sim/desktop/operator_script.h"

#include <limits>

#include "sim/desktop/desktop_names.h"

namespace qv::sim {
namespace {

RuleTiming ReadTiming(ObjectReader& reader) {
  RuleTiming timing;
  if (auto scan = reader.OptionalInteger("scan", 0, std::numeric_limits<int>::max())) {
    timing.scan = static_cast<int>(*scan);
  }
  timing.at_ms = reader.OptionalInteger("at_ms", 0, std::numeric_limits<std::int64_t>::max());
  return timing;
}

BoxRule ReadBoxRule(const nlohmann::json& value, const std::string& path) {
  ObjectReader reader(value, path);
  BoxRule rule;
  rule.pattern = reader.String("text");
  if (auto kind = reader.OptionalString("kind")) {
    rule.kind = BoxKindFromName(*kind);
    if (!rule.kind) {
      throw SectionError(reader.FieldPath("kind") + ": expected ok, yesno, warning or error");
    }
  }
  rule.timing = ReadTiming(reader);
  const auto answer = AnswerFromName(reader.String("answer"));
  if (!answer) throw SectionError(reader.FieldPath("answer") + ": expected ok, yes or no");
  rule.answer = *answer;
  reader.Finish();
  return rule;
}

bool TemplatesHaveButton(const DialogTemplates& templates, const DialogRule& rule) {
  for (const DialogTemplate& dialog : templates.all()) {
    for (const DialogControl& control : dialog.controls) {
      if (control.kind != ControlKind::kPushButton) continue;
      if (rule.button_id ? control.id == *rule.button_id : control.text == rule.button_text) {
        return true;
      }
    }
  }
  return false;
}

DialogRule ReadDialogRule(const nlohmann::json& value, const std::string& path,
                          const DialogTemplates& templates) {
  ObjectReader reader(value, path);
  DialogRule rule;
  rule.pattern = reader.String("text");
  rule.timing = ReadTiming(reader);
  const std::string press_path = reader.FieldPath("press");
  const nlohmann::json* press = reader.Find("press");
  if (press == nullptr) throw SectionError(press_path + ": missing");
  if (press->is_string()) {
    rule.button_text = press->get<std::string>();
  } else if (press->is_number_integer()) {
    rule.button_id = static_cast<int>(ReadInteger(*press, press_path, 0, 0xFFFF));
  } else {
    throw SectionError(press_path + ": expected a button's text or control id");
  }
  if (!TemplatesHaveButton(templates, rule)) {
    throw SectionError(press_path + ": no dialog has such a button");
  }
  reader.Finish();
  return rule;
}

}  // namespace

Parsed<OperatorScript> ParseOperatorSection(const nlohmann::json& section,
                                            const DialogTemplates& templates) {
  return ParseObjectSection<OperatorScript>(
      section, "operator", [&](ObjectReader& reader, OperatorScript& script) {
        reader.ForEachItem("boxes", [&](const nlohmann::json& item, const std::string& path) {
          script.boxes.push_back(ReadBoxRule(item, path));
        });
        reader.ForEachItem("dialogs", [&](const nlohmann::json& item, const std::string& path) {
          script.dialogs.push_back(ReadDialogRule(item, path, templates));
        });
      });
}

}  // namespace qv::sim
