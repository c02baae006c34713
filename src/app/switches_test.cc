#include "app/switches.h"

#include <gtest/gtest.h>

namespace qv::app {
namespace {

using platform::CodePage;

// The flags set, by name, in matching order.
std::string SetFlags(const SwitchFlags& flags) {
  const bool values[] = {flags.autostart, flags.copyfiles, flags.undo,    flags.noproc,
                         flags.clearundo, flags.internal,  flags.service, flags.noram,
                         flags.asi,       flags.maint,     flags.usb};
  std::string names;
  for (std::size_t i = 0; i < kSwitchNames.size(); ++i) {
    if (values[i]) names += (names.empty() ? "" : " ") + std::string(kSwitchNames[i]);
  }
  return names;
}

TEST(MatchSwitches, CutsEachFirstMatchOutInOrder) {
  struct Case {
    std::string command_line;
    std::string flags;
    std::string left;
  };
  const Case cases[] = {
      {"/autostart /noram", "autostart noram", " "},
      {"-usb", "usb", ""},
      {"/USB", "", "/USB"},             // case-sensitive
      {"/clearundo", "clearundo", ""},  // "undo" there follows no prefix
      {"/undo /clearundo", "undo clearundo", " "},
      {"/asi", "asi", ""},
      {"/maint", "maint", ""},
      {"x/usb", "usb", "x"},          // anywhere, not only at a word's start
      {"/usbkey", "usb", "key"},      // a longer word keeps its tail
      {"/usb /usb", "usb", " /usb"},  // only the first occurrence goes
      {"-/asi", "asi", "-"},
      {"//asi", "asi", "/"},
      {"/ asi", "", "/ asi"},
      {"/service-autostart", "autostart service", ""},
      {"copyfiles /copyfile", "", "copyfiles /copyfile"},
      {"/internal/noproc/undo", "undo noproc internal", ""},
      {"", "", ""},
      {"/", "", "/"},
  };
  for (const Case& c : cases) {
    std::string text = c.command_line;
    EXPECT_EQ(SetFlags(MatchSwitches(text, CodePage::kWestern)), c.flags) << c.command_line;
    EXPECT_EQ(text, c.left) << c.command_line;
  }
}

TEST(MatchSwitches, TheSecondByteOfATwoByteCharacterIsNoPrefix) {
  // 0x81 opens a two-byte character in the Japanese code page, not in the
  // Western one.
  std::string text = "\x81/usb";
  EXPECT_FALSE(MatchSwitch(text, "usb", CodePage::kJapanese));
  EXPECT_EQ(text, "\x81/usb");
  EXPECT_TRUE(MatchSwitch(text, "usb", CodePage::kWestern));
  EXPECT_EQ(text, "\x81");

  text = "\x82\xA0/usb \x81";  // a whole character, then the switch; a lone lead byte at the end
  EXPECT_TRUE(MatchSwitch(text, "usb", CodePage::kJapanese));
  EXPECT_EQ(text, "\x82\xA0 \x81");
}

}  // namespace
}  // namespace qv::app
