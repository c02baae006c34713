// Moves a window, found by a piece of its title, to the bottom of the
// z-order: the choice dialogs go beneath every other window, so that they
// do not cover the programs they ask about.
#pragma once

#include <string_view>

#include "platform/code_page.h"
#include "platform/desktop.h"

namespace qv::detector {

// How many walks over the children a repeating placement makes before it
// gives up: the window it looks for may never have been made.
inline constexpr int kPlacementWalks = 10;

// Walks the children of parent from the top down; the first whose title
// (read into 256 bytes) holds text is placed at the bottom, and the result
// is true. Without a match the walk is repeated when repeat is set, up to
// kPlacementWalks walks in all; the result is then false.
bool PlaceAtBottom(platform::Desktop& desktop, platform::CodePage page,
                   platform::WindowHandle parent, std::string_view text, bool repeat);

}  // namespace qv::detector
