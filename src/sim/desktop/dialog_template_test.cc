#include "sim/desktop/dialog_template.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

TEST(BuiltInDialogTemplates, StatusBoxHasOneReadOnlyEditCentred) {
  const DialogTemplates templates = BuiltInDialogTemplates();
  const DialogTemplate* box = templates.Find(130);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->window, "statusbox");
  EXPECT_TRUE(
      box->HasStyle(kWsPopup | kWsVisible | kWsCaption | kDsModalFrame | kDs3dLook | kDsCenter));
  EXPECT_FALSE(box->HasStyle(kWsSysMenu));
  EXPECT_EQ(box->caption, "");
  EXPECT_EQ(box->x, 0);
  EXPECT_EQ(box->y, 20);
  EXPECT_EQ(box->width, 186);
  EXPECT_EQ(box->height, 95);
  EXPECT_EQ(box->font_face, "MS Sans Serif");
  EXPECT_EQ(box->font_points, 8);
  ASSERT_EQ(box->controls.size(), 1u);
  const DialogControl& edit = box->controls[0];
  EXPECT_EQ(edit.id, 1000);
  EXPECT_EQ(edit.kind, ControlKind::kEdit);
  EXPECT_EQ(edit.style, kWsChild | kWsVisible | kEsReadOnly);  // no border, no tab stop
  EXPECT_EQ((std::vector{edit.x, edit.y, edit.width, edit.height}), (std::vector{7, 20, 172, 14}));
}

TEST(BuiltInDialogTemplates, ChoiceDialogButtonsAndTextsInOrder) {
  const DialogTemplates templates = BuiltInDialogTemplates();
  const DialogTemplate* choice = templates.Find(150);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->window, "choice");
  EXPECT_EQ(choice->caption, "Quorvex");
  EXPECT_TRUE(choice->HasStyle(kWsSysMenu));
  EXPECT_FALSE(choice->HasStyle(kDsCenter));
  EXPECT_EQ(choice->width, 303);
  EXPECT_EQ(choice->height, 233);
  std::vector<int> ids;
  std::vector<std::string> buttons;
  for (const DialogControl& control : choice->controls) {
    ids.push_back(control.id);
    if (control.kind == ControlKind::kPushButton) buttons.push_back(control.text);
  }
  EXPECT_EQ(ids, (std::vector{1002, 1003, 1004, 1005, -1, -1, -1, 1006, 1007, 1008}));
  EXPECT_EQ(buttons, (std::vector<std::string>{"Wait", "Ignore always", "Ignore this time"}));
  EXPECT_EQ(templates.Find(151), nullptr);
}

TEST(ParseDialogTemplate, RefusesMalformedTemplatesNamingTheField) {
  const nlohmann::json good = nlohmann::json::parse(R"({
    "id": 7, "window": "w", "x": 0, "y": 0, "width": 10, "height": 10,
    "controls": [{"id": 1, "kind": "static", "x": 0, "y": 0, "width": 1, "height": 1}]})");
  ASSERT_TRUE(ParseDialogTemplate(good));

  struct Case {
    const char* pointer;
    nlohmann::json value;
    const char* error;
  };
  const Case cases[] = {
      {"/id", "7", "dialog.id: expected a whole number"},
      {"/style", {"WS_WHATEVER"}, "dialog.style[0]: unknown style WS_WHATEVER"},
      {"/controls/0/kind", "slider", "dialog.controls[0].kind: unknown control kind slider"},
      {"/controls/0/width", -1, "dialog.controls[0].width: expected a whole number"},
      {"/controls/0/colour", "red", "dialog.controls[0].colour: unknown field"},
      {"/font", {{"face", "x"}}, "dialog.font.points: missing"},
  };
  for (const Case& c : cases) {
    nlohmann::json bad = good;
    bad[nlohmann::json::json_pointer(c.pointer)] = c.value;
    const Parsed<DialogTemplate> parsed = ParseDialogTemplate(bad);
    EXPECT_FALSE(parsed) << c.pointer;
    EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error;
  }
  EXPECT_EQ(ParseDialogTemplate(nlohmann::json::array()).error, "dialog: expected an object");
}

}  // namespace
}  // namespace qv::sim
