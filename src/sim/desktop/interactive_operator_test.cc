#include "sim/desktop/interactive_operator.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qv::sim {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;

const BoxQuestion kPrinterQuestion{BoxKind::kYesNo,
                                   "qv731Ldr",
                                   "Did you already add a printer\nusing the Printer Wizard?",
                                   {BoxAnswer::kYes, BoxAnswer::kNo},
                                   0,
                                   0};

DialogQuestion ChoiceQuestion() {
  DialogQuestion question;
  question.caption = "NotepadProc";
  question.texts = {"Quorvex has detected a program \"Notepad\" running.\r\n\r\nPlease select."};
  question.buttons = {{1003, "Wait"}, {1004, "Ignore always"}, {1005, "Ignore this time"}};
  question.scan = 2;
  return question;
}

TEST(InteractiveOperator, AnswersBoxesByNumberOrNameAndAsksAgainOnNonsense) {
  std::istringstream in("3\nmaybe\n NO \n2\n");
  std::ostringstream out;
  InteractiveOperator person(in, out);
  EXPECT_EQ(person.AnswerBox(kPrinterQuestion), BoxAnswer::kNo);
  EXPECT_EQ(person.AnswerBox(kPrinterQuestion), BoxAnswer::kNo);
  const std::string shown = out.str();
  EXPECT_NE(shown.find("[box] qv731Ldr (yesno)"), std::string::npos);
  EXPECT_NE(shown.find("  Did you already add a printer\n  using the Printer Wizard?\n"),
            std::string::npos);
  EXPECT_NE(shown.find("1) yes  2) no"), std::string::npos);
  EXPECT_NE(shown.find("please answer 1 to 2"), std::string::npos);
}

TEST(InteractiveOperator, DialogPressByTextOrNotNow) {
  std::istringstream in("ignore this time\n\n1\n");
  std::ostringstream out;
  InteractiveOperator person(in, out);
  EXPECT_EQ(person.PressButton(ChoiceQuestion()), 1005);
  EXPECT_EQ(person.PressButton(ChoiceQuestion()), std::nullopt);
  EXPECT_EQ(person.PressButton(ChoiceQuestion()), 1003);
  EXPECT_NE(out.str().find("[dialog] NotepadProc (scan 2)"), std::string::npos);
  EXPECT_EQ(out.str().find('\r'), std::string::npos);
}

TEST(InteractiveOperator, EndOfInputFallsBackToTheDefaults) {
  std::istringstream in("");
  std::ostringstream out;
  InteractiveOperator person(in, out);
  EXPECT_EQ(person.AnswerBox(kPrinterQuestion), BoxAnswer::kYes);
  EXPECT_EQ(person.PressButton(ChoiceQuestion()), 1003);
}

}  // namespace
}  // namespace qv::sim
