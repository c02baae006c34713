#include "sim/desktop/glob.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

TEST(GlobMatch, Table) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  };
  const Case cases[] = {
      {"", "", true},
      {"", "a", false},
      {"*", "", true},
      {"*", "anything\nat all", true},
      {"abc", "abc", true},
      {"abc", "abcd", false},
      {"ABC", "abc", false},  // case counts
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"*Notepad*", "Untitled - Notepad", true},
      {"*Notepad", "Notepad - x", false},
      {"Did you*\n*Wizard?", "Did you already add a printer\nusing the Printer Wizard?", true},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYbZ", false},
      {"**a", "ba", true},
      {"*?*?*", "x", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GlobMatch(c.pattern, c.text), c.match) << c.pattern << " ~ " << c.text;
  }
}

TEST(GlobMatch, ManyStarsOnLongTextStaysQuick) {
  const std::string text(5000, 'a');
  EXPECT_FALSE(GlobMatch("*a*a*a*a*a*a*a*a*b", text));
}

}  // namespace
}  // namespace qv::sim
