// The operator at a terminal: shows each message box and each dialog that
// waits for a press, and reads the person's choice. At the end of the input
// it falls back to the defaults, so that a boot never hangs on a closed
// terminal.
#pragma once

#include <istream>
#include <ostream>

#include "sim/desktop/operator.h"

namespace qv::sim {

class InteractiveOperator final : public Operator {
 public:
  InteractiveOperator(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  // Accepts a button's number or its name (any case).
  platform::BoxAnswer AnswerBox(const BoxQuestion& question) override;

  // Accepts a button's number or its text (any case); an empty line means
  // "not now".
  std::optional<int> PressButton(const DialogQuestion& question) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace qv::sim
