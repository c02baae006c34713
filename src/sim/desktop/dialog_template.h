// Dialog templates as data: the dialog's styles, place and size in dialog
// units, caption and font, and its controls. The loader's two templates
// (130 status box, 150 choice dialog) live as JSON under resources/ and are
// built into the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/desktop/section_reader.h"

namespace qv::sim {

// Window and control styles with the system's values.
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kDsModalFrame = 0x80;
inline constexpr std::uint32_t kDs3dLook = 0x04;
inline constexpr std::uint32_t kDsCenter = 0x800;
inline constexpr std::uint32_t kEsReadOnly = 0x800;

enum class ControlKind { kEdit, kStatic, kPushButton, kGroupBox };

struct DialogControl {
  int id = -1;  // -1: a control nobody addresses
  ControlKind kind = ControlKind::kStatic;
  std::uint32_t style = 0;
  int x = 0;  // dialog units from the client area's corner
  int y = 0;
  int width = 0;
  int height = 0;
  std::string text;
};

struct DialogTemplate {
  int id = 0;
  std::string window;  // what the transcript calls its windows: "statusbox", "choice"
  std::uint32_t style = 0;
  int x = 0;  // dialog units
  int y = 0;
  int width = 0;  // of the client area, dialog units
  int height = 0;
  std::string caption;
  std::string font_face;
  int font_points = 8;
  std::vector<DialogControl> controls;

  bool HasStyle(std::uint32_t flags) const { return (style & flags) == flags; }
};

class DialogTemplates {
 public:
  explicit DialogTemplates(std::vector<DialogTemplate> templates)
      : templates_(std::move(templates)) {}

  // nullptr for an unknown id.
  const DialogTemplate* Find(int id) const;
  const std::vector<DialogTemplate>& all() const { return templates_; }

 private:
  std::vector<DialogTemplate> templates_;
};

Parsed<DialogTemplate> ParseDialogTemplate(const nlohmann::json& value);

// The templates built into the program from resources/, read once: every
// simulated machine shows the same ones.
const DialogTemplates& BuiltInDialogTemplates();

}  // namespace qv::sim
