#include "tools/arq/terminal_text.h"

#include <gtest/gtest.h>

namespace qv::arq {
namespace {

TEST(TerminalText, ControlCharactersAreEscaped) {
  EXPECT_EQ(TerminalText("A\nB\tC\rD"), "A\\nB\\tC\\rD");
  EXPECT_EQ(TerminalText("\x1b]0;pwned\a.TXT"), "\\033]0;pwned\\a.TXT");
  EXPECT_EQ(TerminalText(std::string("N\0L\x7f", 4)), "N\\000L\\177");
  EXPECT_EQ(TerminalText("\x1f\x01"), "\\037\\001");
}

TEST(TerminalText, C1ControlsAreEscapedAloneAndInUtf8) {
  EXPECT_EQ(TerminalText("\x9b"
                         "31m"),
            "\\233"
            "31m");
  EXPECT_EQ(TerminalText("\xc2\x9b"
                         "31m"),
            "\\302\\233"
            "31m");
}

TEST(TerminalText, PrintableTextIsKept) {
  for (const char* kept : {"SCOPE/BIN/APP.EXE", "C:\\TMP\\X.TXT", "caf\xc3\xa9", "\xe9t\xe9",
                           "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xc2\xa0", ""}) {
    EXPECT_EQ(TerminalText(kept), kept) << kept;
  }
  // A truncated sequence keeps its lead byte as a code-page letter.
  EXPECT_EQ(TerminalText("\xe2\x82"), "\xe2\\202");
}

}  // namespace
}  // namespace qv::arq
