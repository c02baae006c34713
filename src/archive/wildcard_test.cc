#include "archive/wildcard.h"

#include <gtest/gtest.h>

namespace qv::archive {
namespace {

TEST(Wildcard, StarTakesTheFirstOccurrenceAndNeverGoesBack) {
  EXPECT_TRUE(WildcardMatch("*A.TXT", "A.TXT"));
  EXPECT_TRUE(WildcardMatch("*A.TXT", "BA.TXT"));
  EXPECT_FALSE(WildcardMatch("*A.TXT", "BANANA.TXT"));
  EXPECT_TRUE(WildcardMatch("*.TXT", "DIR\\A.TXT"));
  EXPECT_FALSE(WildcardMatch("*.TXT", "A.B.TXT"));
  EXPECT_TRUE(WildcardMatch("A*", "A"));
  EXPECT_TRUE(WildcardMatch("A**", "ABC"));
  EXPECT_FALSE(WildcardMatch("A*B", "A"));
}

TEST(Wildcard, StarDotStarMatchesEveryNameAlsoWithoutADot) {
  for (const char* name : {"README", "A.TXT", "DIR\\SUB\\X", ""}) {
    EXPECT_TRUE(WildcardMatch("*.*", name)) << name;
  }
  EXPECT_FALSE(WildcardMatch("*.", "README"));
}

TEST(Wildcard, QuestionMarkAndPlusEachTakeCharacters) {
  EXPECT_TRUE(WildcardMatch("A?C", "ABC"));
  EXPECT_FALSE(WildcardMatch("A?C", "AC"));
  EXPECT_FALSE(WildcardMatch("ABC?", "ABC"));
  EXPECT_TRUE(WildcardMatch("A+", "AB"));
  EXPECT_TRUE(WildcardMatch("A+", "ABCD"));
  EXPECT_FALSE(WildcardMatch("A+", "A"));
  // A '?' uses up a pending star: nothing is left to take the rest.
  EXPECT_FALSE(WildcardMatch("*?", "AB"));
}

TEST(Wildcard, ClassesWithRangesNegationAndEscapes) {
  EXPECT_TRUE(WildcardMatch("[A-C]X", "BX"));
  EXPECT_FALSE(WildcardMatch("[A-C]X", "DX"));
  EXPECT_TRUE(WildcardMatch("[!A-C]X", "DX"));
  EXPECT_TRUE(WildcardMatch("[^A]X", "BX"));
  EXPECT_TRUE(WildcardMatch("[\\]]", "]"));
  EXPECT_TRUE(WildcardMatch("[-A]", "-"));
  // After a star the first character of the class is taken.
  EXPECT_TRUE(WildcardMatch("*[0-9].LOG", "RUN7.LOG"));
  EXPECT_FALSE(WildcardMatch("*[0-9].LOG", "R2UN7.LOG"));
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
