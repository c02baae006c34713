// The operator that follows the script of machine.json. Without a rule that
// applies, OK boxes get OK, questions their first button, and dialogs a
// press of their first button.
#pragma once

#include <optional>

#include "sim/desktop/operator.h"
#include "sim/desktop/operator_script.h"

namespace qv::sim {

platform::BoxAnswer DefaultAnswer(const BoxQuestion& question);
std::optional<int> DefaultPress(const DialogQuestion& question);

class ScriptedOperator final : public Operator {
 public:
  explicit ScriptedOperator(OperatorScript script) : script_(std::move(script)) {}

  // The first rule whose kind, pattern and timing fit and whose answer is
  // one of the box's buttons.
  platform::BoxAnswer AnswerBox(const BoxQuestion& question) override;

  // The first rule whose pattern fits, whose button the dialog has and whose
  // timing is reached. A fitting rule whose time has not come holds the
  // dialog unpressed instead of letting the default press it.
  std::optional<int> PressButton(const DialogQuestion& question) override;

 private:
  OperatorScript script_;
};

}  // namespace qv::sim
