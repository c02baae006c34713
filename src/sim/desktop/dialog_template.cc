#include "sim/desktop/dialog_template.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

#include "sim/desktop/dialog_resources.h"

namespace qv::sim {
namespace {

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 12> kStyles{{
    {"WS_POPUP", kWsPopup},
    {"WS_CHILD", kWsChild},
    {"WS_VISIBLE", kWsVisible},
    {"WS_CAPTION", kWsCaption},
    {"WS_BORDER", kWsBorder},
    {"WS_SYSMENU", kWsSysMenu},
    {"WS_GROUP", kWsGroup},
    {"WS_TABSTOP", kWsTabStop},
    {"DS_MODALFRAME", kDsModalFrame},
    {"DS_3DLOOK", kDs3dLook},
    {"DS_CENTER", kDsCenter},
    {"ES_READONLY", kEsReadOnly},
}};

constexpr std::array<std::pair<std::string_view, ControlKind>, 4> kKinds{{
    {"edit", ControlKind::kEdit},
    {"static", ControlKind::kStatic},
    {"push_button", ControlKind::kPushButton},
    {"group_box", ControlKind::kGroupBox},
}};

constexpr std::int64_t kMaxUnits = 4096;

std::uint32_t ReadStyle(ObjectReader& reader) {
  std::uint32_t style = 0;
  reader.ForEachItem("style", [&](const nlohmann::json& item, const std::string& item_path) {
    const std::string name = ReadString(item, item_path);
    const auto* known = std::find_if(kStyles.begin(), kStyles.end(),
                                     [&](const auto& entry) { return entry.first == name; });
    if (known == kStyles.end()) throw SectionError(item_path + ": unknown style " + name);
    style |= known->second;
  });
  return style;
}

ControlKind ReadKind(ObjectReader& reader) {
  const std::string name = reader.String("kind");
  for (const auto& [kind_name, kind] : kKinds) {
    if (kind_name == name) return kind;
  }
  throw SectionError(reader.FieldPath("kind") + ": unknown control kind " + name);
}

// Reads x, y, width and height in dialog units.
template <typename Target>
void ReadPlacement(ObjectReader& reader, Target& target) {
  target.x = static_cast<int>(reader.Integer("x", -kMaxUnits, kMaxUnits));
  target.y = static_cast<int>(reader.Integer("y", -kMaxUnits, kMaxUnits));
  target.width = static_cast<int>(reader.Integer("width", 0, kMaxUnits));
  target.height = static_cast<int>(reader.Integer("height", 0, kMaxUnits));
}

DialogControl ReadControl(const nlohmann::json& value, const std::string& path) {
  ObjectReader reader(value, path);
  DialogControl control;
  control.id = static_cast<int>(reader.Integer("id", -1, 0xFFFF));
  control.kind = ReadKind(reader);
  control.style = ReadStyle(reader);
  ReadPlacement(reader, control);
  control.text = reader.OptionalString("text").value_or("");
  reader.Finish();
  return control;
}

DialogTemplate ReadTemplate(const nlohmann::json& value) {
  ObjectReader reader(value, "dialog");
  DialogTemplate dialog;
  dialog.id = static_cast<int>(reader.Integer("id", 1, 0xFFFF));
  dialog.window = reader.String("window");
  dialog.style = ReadStyle(reader);
  ReadPlacement(reader, dialog);
  dialog.caption = reader.OptionalString("caption").value_or("");
  if (const nlohmann::json* font = reader.Find("font")) {
    ObjectReader font_reader(*font, reader.FieldPath("font"));
    dialog.font_face = font_reader.String("face");
    dialog.font_points = static_cast<int>(font_reader.Integer("points", 1, 72));
    font_reader.Finish();
  }
  reader.ForEachItem("controls", [&](const nlohmann::json& item, const std::string& path) {
    dialog.controls.push_back(ReadControl(item, path));
  });
  reader.Finish();
  return dialog;
}

}  // namespace

const DialogTemplate* DialogTemplates::Find(int id) const {
  for (const DialogTemplate& dialog : templates_) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}

Parsed<DialogTemplate> ParseDialogTemplate(const nlohmann::json& value) {
  return ParseOrRefuse<DialogTemplate>([&] { return ReadTemplate(value); });
}

const DialogTemplates& BuiltInDialogTemplates() {
  static const DialogTemplates templates = [] {
    std::vector<DialogTemplate> read;
    for (const std::string_view text : DialogResourceTexts()) {
      // The resources are part of the build and covered by tests: a failure
      // here is a broken build, not bad input.
      Parsed<DialogTemplate> parsed =
          ParseDialogTemplate(nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false));
      if (!parsed) throw std::logic_error("built-in dialog template: " + parsed.error);
      read.push_back(std::move(*parsed.value));
    }
    return DialogTemplates(std::move(read));
  }();
  return templates;
}

}  // namespace qv::sim
