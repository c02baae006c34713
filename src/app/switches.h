// The loader's command-line switches. Each of the eleven names is looked
// for after a "-" or "/" anywhere in the command line, in a fixed order, and
// the first match is cut out, so that later names are matched on what
// earlier matches left: "/clearundo" sets clearundo but not undo, "x/usb"
// and "/usbkey" set usb (leaving "x" and "key").
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/process_state.h"
#include "platform/code_page.h"

namespace qv::app {

// The names in the order they are matched.
inline constexpr std::array<std::string_view, 11> kSwitchNames{
    "autostart", "copyfiles", "undo", "noproc", "clearundo", "internal",
    "service",   "noram",     "asi",  "maint",  "usb"};

// Finds the first "-" or "/" directly followed by the name (case-sensitive)
// and cuts the prefix and the name out of the text. The walk steps over
// two-byte characters of the code page whole, so the second byte of one is
// never taken for a prefix. False, with the text unchanged, when none is found.
bool MatchSwitch(std::string& text, std::string_view name, platform::CodePage page);

// Matches every switch in order on the text, which keeps what is left.
SwitchFlags MatchSwitches(std::string& text, platform::CodePage page);

}  // namespace qv::app
