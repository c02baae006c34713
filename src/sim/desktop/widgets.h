// The painted parts of the simulated window system's look: bevelled edges,
// window frames with their caption bars, push buttons, group boxes, the
// warning icon, and blocks of text.
#pragma once

#include <string_view>

#include "sim/desktop/font_face.h"
#include "sim/desktop/image.h"
#include "sim/desktop/pixel_rect.h"
#include "sim/desktop/screen_scene.h"

namespace qv::sim {

// A one-pixel-wide bevel, two of them nested: raised looks lit from the top
// left, sunken the other way.
void DrawRaisedEdge(Image& image, const PixelRect& rect);
void DrawSunkenEdge(Image& image, const PixelRect& rect);

// The window's frame and caption bar; the client area is left to the caller.
void DrawWindowFrame(Image& image, const SceneWindow& window, const FontFace& caption_font);

void DrawPushButton(Image& image, const PixelRect& rect, std::string_view text,
                    const FontFace& font);
void DrawGroupBox(Image& image, const PixelRect& rect, const FontFace& font);
void DrawWarningIcon(Image& image, const PixelRect& rect);

// The text broken into lines to fit the width, from the rectangle's top,
// clipped to it.
void DrawTextBlock(Image& image, const PixelRect& rect, std::string_view text,
                   const FontFace& font);

}  // namespace qv::sim
