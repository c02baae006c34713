#include "platform/dos_path.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "platform/stream_mode.h"

namespace qv::platform {
namespace {

// Where each text leads from the current folder C:\scope\bin.
TEST(Locate, PathsFromACurrentFolder) {
  const DosLocation current{'C', {"scope", "bin"}};
  struct Case {
    std::string_view text;
    std::string_view place;  // empty: refused
  };
  const Case cases[] = {
      {"x.exe", "C:\\scope\\bin\\x.exe"},
      {".\\x.exe", "C:\\scope\\bin\\x.exe"},
      {"..\\cal", "C:\\scope\\cal"},
      {"..\\..\\..\\..", "C:\\"},  // never above the root
      {"\\windows\\temp", "C:\\windows\\temp"},
      {"/windows/temp/", "C:\\windows\\temp"},
      {"a\\\\b", "C:\\scope\\bin\\a\\b"},
      {"name.", "C:\\scope\\bin\\name"},  // trailing dots and blanks go
      {"name. .", "C:\\scope\\bin\\name"},
      {"...", ""},
      {"", ""},
      {"\\\\server\\share", ""},
      {"a:b:c", ""},
  };
  for (const Case& c : cases) {
    const std::optional<DosPath> path = DosPath::Parse(c.text);
    const std::optional<DosLocation> place =
        path ? Locate(*path, current) : std::optional<DosLocation>();
    EXPECT_EQ(place ? place->ToString() : "", c.place) << c.text;
  }
}

TEST(DosPath, DriveLettersAndRoots) {
  const DosPath bare = *DosPath::Parse("d:");
  EXPECT_EQ(bare.drive, 'D');
  EXPECT_FALSE(bare.rooted);
  EXPECT_TRUE(bare.names.empty());
  const DosPath relative = *DosPath::Parse("a:qv731xx.svc");
  EXPECT_EQ(relative.drive, 'A');
  EXPECT_FALSE(relative.rooted);
  EXPECT_TRUE(DosPath::Parse("c:\\")->rooted);
  EXPECT_TRUE(DosPath::Parse("c:\\scope\\")->trailing_separator);
  EXPECT_FALSE(DosPath::Parse("c:\\")->trailing_separator);
}

TEST(IsValidName, RefusesWhatTheFileSystemRefuses) {
  EXPECT_TRUE(IsValidName("qv731upg.$$$"));
  EXPECT_TRUE(IsValidName("Smart0"));
  EXPECT_TRUE(IsValidName("a b.c d"));
  for (const char* bad : {"a*b", "a?", "a|b", "a<b", "a\"b", "a:b"}) {
    EXPECT_FALSE(IsValidName(bad)) << bad;
  }
  EXPECT_FALSE(IsValidName(std::string("a\x01", 2)));
  EXPECT_FALSE(IsValidName(std::string(256, 'x')));
}

TEST(CodePage, NamesFoldWithoutRegardToCase) {
  EXPECT_TRUE(SameName(CodePage::kWestern, "Temp", "TEMP"));
  EXPECT_TRUE(SameName(CodePage::kWestern, "caf\xe9", "CAF\xc9"));  // e acute
  EXPECT_FALSE(SameName(CodePage::kWestern, "\xf7", "\xd7"));       // division, multiplication
  // In a two-byte code page the second byte is no letter: 0x83 0x61 is one character.
  EXPECT_FALSE(SameName(CodePage::kJapanese, "\x83\x61", "\x83\x41"));
  EXPECT_TRUE(SameName(CodePage::kJapanese, "ab\x83\x61", "AB\x83\x61"));
  // The listing order compares upper-case names: "_" comes after letters.
  EXPECT_LT(CompareNames(CodePage::kWestern, "b", "_a"), 0);
}

TEST(StreamMode, ParsesTheRunTimesModeStrings) {
  struct Case {
    std::string_view text;
    bool valid;
    bool read, write, binary;
  };
  const Case cases[] = {
      {"r", true, true, false, false},     {"rb", true, true, false, true},
      {"w", true, false, true, false},     {"a+", true, true, true, false},
      {"r+b", true, true, true, true},     {"rb+", true, true, true, true},
      {"wt", true, false, true, false},    {"", false, false, false, false},
      {"x", false, false, false, false},   {"rbt", false, false, false, false},
      {"r++", false, false, false, false},
  };
  for (const Case& c : cases) {
    const std::optional<StreamMode> mode = StreamMode::Parse(c.text);
    ASSERT_EQ(mode.has_value(), c.valid) << c.text;
    if (!mode) continue;
    EXPECT_EQ(mode->CanRead(), c.read) << c.text;
    EXPECT_EQ(mode->CanWrite(), c.write) << c.text;
    EXPECT_EQ(mode->binary, c.binary) << c.text;
  }
}

}  // namespace
}  // namespace qv::platform
