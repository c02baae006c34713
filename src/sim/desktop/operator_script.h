// The "operator" section of machine.json: rules that answer message boxes
// and press buttons in dialogs, matched by wildcard pattern (see glob.h),
// optionally from a given scan or virtual time on.
//
//   "operator": {
//     "boxes":   [{"text": "Did you already add a printer*", "answer": "no"}],
//     "dialogs": [{"text": "*Notepad*", "press": "Ignore always", "scan": 2}]
//   }
//
// A box rule may also name the box "kind" (ok, yesno, warning, error). A
// dialog rule's pattern is matched against the caption and every control
// text; "press" names a push button by its text or its control id.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/desktop_types.h"
#include "sim/desktop/dialog_template.h"
#include "sim/desktop/section_reader.h"

namespace qv::sim {

struct RuleTiming {
  std::optional<int> scan;            // from this scan on
  std::optional<std::int64_t> at_ms;  // from this virtual time on

  bool Reached(int current_scan, std::int64_t now_ms) const {
    return (!scan || current_scan >= *scan) && (!at_ms || now_ms >= *at_ms);
  }
};

struct BoxRule {
  std::string pattern;
  std::optional<platform::BoxKind> kind;
  RuleTiming timing;
  platform::BoxAnswer answer = platform::BoxAnswer::kOk;
};

struct DialogRule {
  std::string pattern;
  RuleTiming timing;
  std::optional<int> button_id;  // else button_text
  std::string button_text;
};

struct OperatorScript {
  std::vector<BoxRule> boxes;
  std::vector<DialogRule> dialogs;
};

// Buttons named in "press" must exist in one of the templates.
Parsed<OperatorScript> ParseOperatorSection(const nlohmann::json& section,
                                            const DialogTemplates& templates);

}  // namespace qv::sim
