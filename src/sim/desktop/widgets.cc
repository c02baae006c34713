#include "sim/desktop/widgets.h"

#include <algorithm>

#include "sim/desktop/layout.h"
#include "sim/desktop/system_colours.h"
#include "sim/desktop/text_wrap.h"

namespace qv::sim {
namespace {

using platform::Rgb;

constexpr int kCaptionButtonWidth = 16;
constexpr int kCaptionButtonHeight = 14;

void DrawBevel(Image& image, const PixelRect& rect, Rgb top_left, Rgb bottom_right) {
  image.Fill({rect.x, rect.y, rect.width, 1}, top_left);
  image.Fill({rect.x, rect.y, 1, rect.height}, top_left);
  image.Fill({rect.x, rect.bottom() - 1, rect.width, 1}, bottom_right);
  image.Fill({rect.right() - 1, rect.y, 1, rect.height}, bottom_right);
}

// The little symbol of a caption button: 0 minimise, 1 maximise, 2 close.
void DrawCaptionSymbol(Image& image, const PixelRect& button, int symbol) {
  const int left = button.x + 4;
  const int top = button.y + 3;
  if (symbol == 0) {
    image.Fill({left, top + 6, 6, 2}, kTextColour);
  } else if (symbol == 1) {
    DrawBevel(image, {left, top, 9, 8}, kTextColour, kTextColour);
    image.Fill({left, top + 1, 9, 1}, kTextColour);
  } else {
    for (int i = 0; i < 7; ++i) {
      image.Fill({left + i, top + i, 2, 1}, kTextColour);
      image.Fill({left + 6 - i, top + i, 2, 1}, kTextColour);
    }
  }
}

}  // namespace

void DrawRaisedEdge(Image& image, const PixelRect& rect) {
  DrawBevel(image, rect, kFaceColour, kDarkShadowColour);
  DrawBevel(image, rect.Inset(1), kHighlightColour, kShadowColour);
}

void DrawSunkenEdge(Image& image, const PixelRect& rect) {
  DrawBevel(image, rect, kShadowColour, kHighlightColour);
  DrawBevel(image, rect.Inset(1), kDarkShadowColour, kFaceColour);
}

void DrawWindowFrame(Image& image, const SceneWindow& window, const FontFace& caption_font) {
  image.Fill(window.rect, kFaceColour);
  DrawRaisedEdge(image, window.rect);
  if (!window.caption) return;
  const int border = window.sizing_frame ? kSizingFrame : kDialogFrame;
  const PixelRect bar{window.client.x, window.rect.y + border, window.client.width,
                      kCaptionHeight - 1};
  image.Fill(bar, window.active ? kActiveCaptionColour : kInactiveCaptionColour);

  int buttons_left = bar.right() - 2;
  const int button_top = bar.y + (bar.height - kCaptionButtonHeight) / 2;
  const int first_symbol = window.min_max_boxes ? 0 : 2;
  const int last_symbol = window.close_box ? 2 : (window.min_max_boxes ? 1 : -1);
  for (int symbol = last_symbol; symbol >= first_symbol; --symbol) {
    buttons_left -= kCaptionButtonWidth + (symbol == 1 ? 2 : 0);
    const PixelRect button{buttons_left, button_top, kCaptionButtonWidth, kCaptionButtonHeight};
    image.Fill(button, kFaceColour);
    DrawRaisedEdge(image, button);
    DrawCaptionSymbol(image, button, symbol);
  }
  const PixelRect title_area{bar.x + 3, bar.y, std::max(0, buttons_left - bar.x - 5), bar.height};
  caption_font.Draw(image, title_area.x, bar.y + (bar.height - caption_font.Height()) / 2,
                    window.title, kCaptionTextColour, title_area);
}

void DrawPushButton(Image& image, const PixelRect& rect, std::string_view text,
                    const FontFace& font) {
  image.Fill(rect, kFaceColour);
  DrawRaisedEdge(image, rect);
  const PixelRect inside = rect.Inset(2);
  font.Draw(image, rect.x + (rect.width - font.Width(text)) / 2,
            rect.y + (rect.height - font.Height()) / 2, text, kTextColour, inside);
}

void DrawGroupBox(Image& image, const PixelRect& rect, const FontFace& font) {
  // The etched line runs through the middle of the (here empty) title.
  const int top = rect.y + font.Height() / 2;
  const PixelRect frame{rect.x, top, rect.width, rect.bottom() - top};
  DrawBevel(image, frame, kShadowColour, kHighlightColour);
  DrawBevel(image, frame.Inset(1), kHighlightColour, kShadowColour);
}

void DrawWarningIcon(Image& image, const PixelRect& rect) {
  // A yellow triangle with a black rim and an exclamation mark.
  const int middle = rect.x + rect.width / 2;
  for (int row = 0; row < rect.height - 2; ++row) {
    const int half = row * rect.width / (2 * rect.height);
    image.Fill({middle - half - 1, rect.y + row, 2 * half + 3, 1}, kTextColour);
    image.Fill({middle - half, rect.y + row, 2 * half + 1, 1}, kWarningYellow);
  }
  image.Fill({rect.x, rect.bottom() - 3, rect.width, 2}, kTextColour);
  image.Fill({middle - 1, rect.y + rect.height / 3, 3, rect.height / 3}, kTextColour);
  image.Fill({middle - 1, rect.y + rect.height * 3 / 4 - 2, 3, 3}, kTextColour);
}

void DrawTextBlock(Image& image, const PixelRect& rect, std::string_view text,
                   const FontFace& font) {
  int top = rect.y;
  for (const std::string& line : WrapText(text, rect.width, font)) {
    if (top >= rect.bottom()) break;
    font.Draw(image, rect.x, top, line, kTextColour, rect);
    top += font.Height();
  }
}

}  // namespace qv::sim
