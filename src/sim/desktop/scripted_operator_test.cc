#include "sim/desktop/scripted_operator.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using nlohmann::json;
using platform::BoxAnswer;
using platform::BoxKind;

OperatorScript Script(const char* text) {
  const auto parsed = ParseOperatorSection(json::parse(text), BuiltInDialogTemplates());
  EXPECT_TRUE(parsed) << parsed.error;
  return parsed ? *parsed.value : OperatorScript{};
}

BoxQuestion Box(BoxKind kind, std::string text, int scan = 0, std::int64_t now_ms = 0) {
  std::vector<BoxAnswer> buttons{BoxAnswer::kOk};
  if (kind == BoxKind::kYesNo) buttons = {BoxAnswer::kYes, BoxAnswer::kNo};
  return {kind, "qv731Ldr", std::move(text), buttons, scan, now_ms};
}

DialogQuestion Choice(std::string title, int scan, std::int64_t now_ms = 0) {
  DialogQuestion question;
  question.caption = title + "Proc";
  question.texts = {"Quorvex has detected a program \"" + title + "\" running."};
  question.buttons = {{1003, "Wait"}, {1004, "Ignore always"}, {1005, "Ignore this time"}};
  question.scan = scan;
  question.now_ms = now_ms;
  return question;
}

TEST(ScriptedOperator, WithoutRulesOkBoxesGetOkQuestionsTheirFirstButton) {
  ScriptedOperator person{OperatorScript{}};
  EXPECT_EQ(person.AnswerBox(Box(BoxKind::kOk, "x")), BoxAnswer::kOk);
  EXPECT_EQ(person.AnswerBox(Box(BoxKind::kWarning, "x")), BoxAnswer::kOk);
  EXPECT_EQ(person.AnswerBox(Box(BoxKind::kYesNo, "x")), BoxAnswer::kYes);
  EXPECT_EQ(person.PressButton(Choice("Notepad", 1)), 1003);
  DialogQuestion no_buttons = Choice("x", 1);
  no_buttons.buttons.clear();
  EXPECT_EQ(person.PressButton(no_buttons), std::nullopt);
}

TEST(ScriptedOperator, BoxRulesMatchByPatternKindAndTiming) {
  ScriptedOperator person{Script(R"({"boxes": [
    {"text": "Did you already*", "answer": "no", "at_ms": 5000},
    {"text": "*", "kind": "error", "answer": "yes"},
    {"text": "Did you*", "answer": "yes"}]})")};
  const std::string printer = "Did you already add a printer\nusing the Printer Wizard?";
  EXPECT_EQ(person.AnswerBox(Box(BoxKind::kYesNo, printer, 0, 4999)), BoxAnswer::kYes);
  EXPECT_EQ(person.AnswerBox(Box(BoxKind::kYesNo, printer, 0, 5000)), BoxAnswer::kNo);
  // An answer that the box does not offer does not apply.
  EXPECT_EQ(person.AnswerBox(Box(BoxKind::kError, "The system cannot find the file")),
            BoxAnswer::kOk);
}

TEST(ScriptedOperator, DialogRuleWaitsForItsScanInsteadOfTheDefault) {
  ScriptedOperator person{Script(R"({"dialogs": [
    {"text": "*Notepad*", "press": "Ignore always", "scan": 3},
    {"text": "CalcProc", "press": 1005}]})")};
  EXPECT_EQ(person.PressButton(Choice("Untitled - Notepad", 1)), std::nullopt);
  EXPECT_EQ(person.PressButton(Choice("Untitled - Notepad", 2)), std::nullopt);
  EXPECT_EQ(person.PressButton(Choice("Untitled - Notepad", 3)), 1004);
  EXPECT_EQ(person.PressButton(Choice("Calc", 1)), 1005);
  EXPECT_EQ(person.PressButton(Choice("Paint", 1)), 1003);
}

TEST(ParseOperatorSection, MalformedRulesAreRefusedNamingTheField) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {R"({"boxes": [{"answer": "ok"}]})", "operator.boxes[0].text: missing"},
      {R"({"boxes": [{"text": "*", "answer": "maybe"}]})",
       "operator.boxes[0].answer: expected ok, yes or no"},
      {R"({"boxes": [{"text": "*", "answer": "ok", "kind": "info"}]})",
       "operator.boxes[0].kind: expected ok, yesno, warning or error"},
      {R"({"boxes": [{"text": "*", "answer": "ok", "scan": -1}]})",
       "operator.boxes[0].scan: expected a whole number"},
      {R"({"dialogs": [{"text": "*"}]})", "operator.dialogs[0].press: missing"},
      {R"({"dialogs": [{"text": "*", "press": "Ignore Always"}]})",
       "operator.dialogs[0].press: no dialog has such a button"},
      {R"({"dialogs": [{"text": "*", "press": 1002}]})",
       "operator.dialogs[0].press: no dialog has such a button"},
      {R"({"dialogs": [{"text": "*", "press": true}]})",
       "operator.dialogs[0].press: expected a button's text or control id"},
      {R"({"dialog": []})", "operator.dialog: unknown field"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseOperatorSection(json::parse(c.text), BuiltInDialogTemplates());
    EXPECT_FALSE(parsed) << c.text;
    EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << c.text << " -> " << parsed.error;
  }
}

}  // namespace
}  // namespace qv::sim
