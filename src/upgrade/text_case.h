// Letter case as the loader's C run time folds it: ASCII letters only.
#pragma once

#include <string>
#include <string_view>

namespace qv::upgrade {

inline std::string ToLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace qv::upgrade
