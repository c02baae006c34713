#include "sim/desktop/screen_renderer.h"

#include "sim/desktop/system_colours.h"
#include "sim/desktop/widgets.h"

namespace qv::sim {
namespace {

constexpr int kTaskbarButtonWidth = 160;

void DrawCanvas(Image& image, const SceneWindow& window, const FontFace& system_font) {
  const PixelRect& client = window.client;
  for (const CanvasOp& op : window.canvas) {
    if (const auto* erase = std::get_if<CanvasErase>(&op)) {
      image.Fill(Intersection(erase->rect.Moved(client.x, client.y), client), window.client_colour);
      continue;
    }
    // Text drawn with an opaque background: a white box behind every glyph.
    const auto& line = std::get<CanvasText>(op);
    const int left = client.x + line.x;
    const int top = client.y + line.y;
    image.Fill(
        Intersection({left, top, system_font.Width(line.text), system_font.Height()}, client),
        kWindowColour);
    system_font.Draw(image, left, top, line.text, kTextColour, client);
  }
}

void DrawControl(Image& image, const SceneControl& control, const ScreenFonts& fonts) {
  switch (control.kind) {
    case SceneControlKind::kStatic:
      DrawTextBlock(image, control.rect, control.text, *fonts.dialog);
      break;
    case SceneControlKind::kEdit:
      // One line, no border: the read-only edit of the status box.
      fonts.dialog->Draw(image, control.rect.x + 1,
                         control.rect.y + (control.rect.height - fonts.dialog->Height()) / 2,
                         control.text, kTextColour, control.rect);
      break;
    case SceneControlKind::kPushButton:
      DrawPushButton(image, control.rect, control.text, *fonts.dialog);
      break;
    case SceneControlKind::kGroupBox:
      DrawGroupBox(image, control.rect, *fonts.dialog);
      break;
    case SceneControlKind::kWarningIcon:
      DrawWarningIcon(image, control.rect);
      break;
  }
}

void DrawWindow(Image& image, const SceneWindow& window, const ScreenFonts& fonts) {
  DrawWindowFrame(image, window, *fonts.caption);
  image.Fill(window.client, window.client_colour);
  DrawCanvas(image, window, *fonts.system);
  for (const SceneControl& control : window.controls)
    DrawControl(image, control, fonts);
}

void DrawTaskbar(Image& image, const Scene& scene, const ScreenFonts& fonts) {
  const PixelRect& bar = scene.taskbar;
  image.Fill(bar, kFaceColour);
  image.Fill({bar.x, bar.y + 1, bar.width, 1}, kHighlightColour);
  int left = bar.x + 2;
  for (const std::string& title : scene.taskbar_buttons) {
    const PixelRect button{left, bar.y + 4, kTaskbarButtonWidth, bar.height - 6};
    DrawRaisedEdge(image, button);
    fonts.dialog->Draw(image, button.x + 4, button.y + (button.height - fonts.dialog->Height()) / 2,
                       title, kTextColour, button.Inset(2));
    left += kTaskbarButtonWidth + 3;
  }
}

}  // namespace

Image RenderScreen(const Scene& scene, const ScreenFonts& fonts) {
  Image image(scene.screen.width, scene.screen.height, kDesktopColour);
  for (const SceneWindow& window : scene.windows)
    DrawWindow(image, window, fonts);
  DrawTaskbar(image, scene, fonts);
  return image;
}

}  // namespace qv::sim
