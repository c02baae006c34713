#include "detector/bottom_placement.h"

#include "detector/title_match.h"

namespace qv::detector {

bool PlaceAtBottom(platform::Desktop& desktop, platform::CodePage page,
                   platform::WindowHandle parent, std::string_view text, bool repeat) {
  constexpr std::size_t kTitleBufferSize = 256;
  const int walks = repeat ? kPlacementWalks : 1;
  for (int walk = 0; walk < walks; ++walk) {
    for (platform::WindowHandle window = desktop.TopChildWindow(parent); window;
         window = desktop.NextWindow(window)) {
      if (ContainsText(page, desktop.WindowTitle(window, kTitleBufferSize), text)) {
        desktop.PlaceAtBottom(window);
        return true;
      }
    }
  }
  return false;
}

}  // namespace qv::detector
