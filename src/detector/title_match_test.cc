#include "detector/title_match.h"

#include <gtest/gtest.h>

namespace qv::detector {
namespace {

using platform::CodePage;

TEST(TitleMatch, AnEntryMatchesEveryPieceOfItselfCaseSensitively) {
  const NameList list{"Spooler Process", "Power Meter"};
  for (const char* title : {"Power Meter", "Power", "Meter", "r M", "Spooler Process"}) {
    EXPECT_TRUE(MatchesList(CodePage::kWestern, list, title)) << title;
  }
  for (const char* title : {"power", "Power Meter 2", "Power Process", "Notepad"}) {
    EXPECT_FALSE(MatchesList(CodePage::kWestern, list, title)) << title;
  }
  EXPECT_FALSE(MatchesList(CodePage::kWestern, {}, "Power"));
}

TEST(TitleMatch, AMatchNeverStartsOnTheSecondByteOfACharacter) {
  // 0x81 0x41 is one character in code page 932; its second byte is "A".
  const std::string entry =
      "x\x81"
      "A"
      "Ay";
  EXPECT_TRUE(ContainsText(CodePage::kWestern, entry, "AA"));
  EXPECT_FALSE(ContainsText(CodePage::kJapanese, entry, "AA"));
  EXPECT_TRUE(ContainsText(CodePage::kJapanese, entry, "Ay"));
  EXPECT_TRUE(ContainsText(CodePage::kJapanese, entry,
                           "\x81"
                           "A"));
  // A lead byte at the very end stands alone.
  EXPECT_TRUE(ContainsText(CodePage::kJapanese, "ab\x81", "\x81"));
}

TEST(TitleMatch, TheEmptyPieceIsFoundEvenInAnEmptyText) {
  EXPECT_TRUE(ContainsText(CodePage::kWestern, "", ""));
  EXPECT_TRUE(ContainsText(CodePage::kWestern, "abc", ""));
  EXPECT_FALSE(ContainsText(CodePage::kWestern, "", "a"));
}

}  // namespace
}  // namespace qv::detector
