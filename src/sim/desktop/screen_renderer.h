// Paints a scene of the simulated screen: the desktop, every window from
// the bottom up with its frame, caption and contents (the main window's
// green client area with its status lines in black on opaque white, the
// dialogs' controls, the message boxes), and the taskbar on top.
#pragma once

#include "sim/desktop/image.h"
#include "sim/desktop/screen_fonts.h"
#include "sim/desktop/screen_scene.h"

namespace qv::sim {

Image RenderScreen(const Scene& scene, const ScreenFonts& fonts);

}  // namespace qv::sim
