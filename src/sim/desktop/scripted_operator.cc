#include "sim/desktop/scripted_operator.h"

#include <algorithm>

#include "sim/desktop/glob.h"

namespace qv::sim {
namespace {

bool DialogMatches(const std::string& pattern, const DialogQuestion& question) {
  return GlobMatch(pattern, question.caption) ||
         std::any_of(question.texts.begin(), question.texts.end(),
                     [&](const std::string& text) { return GlobMatch(pattern, text); });
}

std::optional<int> ButtonOf(const DialogRule& rule, const DialogQuestion& question) {
  for (const DialogButton& button : question.buttons) {
    if (rule.button_id ? button.id == *rule.button_id : button.text == rule.button_text) {
      return button.id;
    }
  }
  return std::nullopt;
}

}  // namespace

platform::BoxAnswer DefaultAnswer(const BoxQuestion& question) {
  return question.buttons.empty() ? platform::BoxAnswer::kOk : question.buttons.front();
}

std::optional<int> DefaultPress(const DialogQuestion& question) {
  if (question.buttons.empty()) return std::nullopt;
  return question.buttons.front().id;
}

platform::BoxAnswer ScriptedOperator::AnswerBox(const BoxQuestion& question) {
  for (const BoxRule& rule : script_.boxes) {
    if (rule.kind && *rule.kind != question.kind) continue;
    if (!GlobMatch(rule.pattern, question.text)) continue;
    if (!rule.timing.Reached(question.scan, question.now_ms)) continue;
    if (std::find(question.buttons.begin(), question.buttons.end(), rule.answer) ==
        question.buttons.end()) {
      continue;
    }
    return rule.answer;
  }
  return DefaultAnswer(question);
}

std::optional<int> ScriptedOperator::PressButton(const DialogQuestion& question) {
  bool held = false;
  for (const DialogRule& rule : script_.dialogs) {
    if (!DialogMatches(rule.pattern, question)) continue;
    const std::optional<int> button = ButtonOf(rule, question);
    if (!button) continue;
    if (rule.timing.Reached(question.scan, question.now_ms)) return button;
    held = true;
  }
  return held ? std::nullopt : DefaultPress(question);
}

}  // namespace qv::sim
