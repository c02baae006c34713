#include "archive/wildcard.h"

#include <gtest/gtest.h>

namespace qv::archive {
namespace {

struct Case {
  const char* pattern;
  const char* name;
  bool matches;
};

void ExpectMatches(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
  }
}

TEST(Wildcard, StarTakesTheFirstOccurrenceAndNeverGoesBack) {
  ExpectMatches({{"*A.TXT", "A.TXT", true},
                 {"*A.TXT", "BA.TXT", true},
                 {"*A.TXT", "BANANA.TXT", false},
                 {"*.TXT", "DIR\\A.TXT", true},
                 {"*.TXT", "A.B.TXT", false},
                 {"A*", "A", true},
                 {"A**", "ABC", true},
                 {"A*B", "A", false}});
}

TEST(Wildcard, StarDotStarMatchesEveryNameAlsoWithoutADot) {
  ExpectMatches({{"*.*", "README", true},
                 {"*.*", "A.TXT", true},
                 {"*.*", "DIR\\SUB\\X", true},
                 {"*.*", "", true},
                 {"*.", "README", false}});
}

TEST(Wildcard, QuestionMarkAndPlusEachTakeCharacters) {
  // A '?' uses up a pending star: nothing is left to take the rest of "AB".
  ExpectMatches({{"A?C", "ABC", true},
                 {"A?C", "AC", false},
                 {"ABC?", "ABC", false},
                 {"A+", "AB", true},
                 {"A+", "ABCD", true},
                 {"A+", "A", false},
                 {"*?", "AB", false}});
}

TEST(Wildcard, ClassesWithRangesNegationAndEscapes) {
  // After a star the first character of the class is taken.
  ExpectMatches({{"[A-C]X", "BX", true},
                 {"[A-C]X", "DX", false},
                 {"[!A-C]X", "DX", true},
                 {"[^A]X", "BX", true},
                 {"[\\]]", "]", true},
                 {"[-A]", "-", true},
                 {"*[0-9].LOG", "RUN7.LOG", true},
                 {"*[0-9].LOG", "R2UN7.LOG", false}});
}

TEST(Wildcard, PatternsAreValidatedAsSelectionEntriesNeedThem) {
  for (const char* valid : {"*.*", "[A-Z]*", "[\\]]", "A.TXT", "DIR\\*.EXE", "[-A]", "[!]"}) {
    EXPECT_TRUE(IsValidPattern(valid)) << valid;
  }
  for (const char* invalid : {"[A-", "[A", "[A-]", "[\\", "DIR\\", "[-]"}) {
    EXPECT_FALSE(IsValidPattern(invalid)) << invalid;
  }
  EXPECT_TRUE(HasWildcards("A[B]"));
  EXPECT_FALSE(HasWildcards("A+B.TXT"));
}

}  // namespace
}  // namespace qv::archive
