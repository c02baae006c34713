// Wine's system messages are texts of its own: FormatMessageA's text for
// an error code under Wine beside the instrument's system's (both followed
// by CR LF).
#pragma once

#include <array>
#include <string>

namespace qv::wine_test {

struct ErrorTexts {
  int code;
  const char* system;
  const char* wine;
};

inline constexpr std::array<ErrorTexts, 3> kWineErrorTexts{{
    {2, "The system cannot find the file specified.", "File not found."},
    {5, "Access is denied.", "Access denied."},
    {183, "Cannot create a file when that file already exists.", "File already exists."},
}};

// The text (raw or as a transcript shows it) with each of Wine's messages
// in it replaced by the system's.
inline std::string AsOnTheSystem(std::string text) {
  for (const ErrorTexts& texts : kWineErrorTexts) {
    const std::string wine = texts.wine;
    for (std::size_t at = text.find(wine); at != std::string::npos; at = text.find(wine, at)) {
      text.replace(at, wine.size(), texts.system);
      at += std::string(texts.system).size();
    }
  }
  return text;
}

}  // namespace qv::wine_test
