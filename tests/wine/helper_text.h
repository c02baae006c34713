// How the helper prints texts: bytes in quotes with CR and LF shown.
#pragma once

#include <string>

namespace qv::wine_test {

inline std::string Shown(const std::string& text) {
  std::string shown = "\"";
  for (const char c : text) {
    shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return shown + "\"";
}

}  // namespace qv::wine_test
