// The lines a walk through a port prints: one per step, "STEP: WHAT", where
// WHAT is "ok", "error CODE errno VALUE" or what the step found. The same
// walk on the simulator and under Wine must print the same lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/outcome.h"

namespace qv::wine_test {

class PortTranscript {
 public:
  void Line(std::string_view step, std::string_view what) {
    lines_.push_back(std::string(step) + ": " + std::string(what));
  }
  void Line(std::string_view step, const platform::Outcome& outcome) {
    Line(step, outcome ? std::string("ok")
                       : "error " + std::to_string(platform::ToCode(outcome.error())) + " errno " +
                             std::to_string(platform::ToInt(outcome.errno_value())));
  }
  // Bytes as text, with CR, LF, Ctrl-Z and other control bytes shown.
  static std::string Shown(std::string_view bytes) {
    std::string shown;
    for (const char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      if (c == '\r') {
        shown += "\\r";
      } else if (c == '\n') {
        shown += "\\n";
      } else if (c == '\x1a') {
        shown += "^Z";
      } else if (byte < 0x20) {
        shown +=
            "\\x" + std::string(1, "0123456789ABCDEF"[byte >> 4]) + "0123456789ABCDEF"[byte & 15];
      } else {
        shown += c;
      }
    }
    return "\"" + shown + "\"";
  }

  std::vector<std::string> lines() && { return std::move(lines_); }

 private:
  std::vector<std::string> lines_;
};

}  // namespace qv::wine_test
