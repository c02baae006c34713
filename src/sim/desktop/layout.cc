#include "sim/desktop/layout.h"

#include <algorithm>

#include "sim/desktop/text_wrap.h"

namespace qv::sim {
namespace {

constexpr int kBoxMargin = 11;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kButtonTopGap = 14;

// a * b / c rounded to the nearest, halves away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

Layout::Layout(ScreenSize screen, const TextMeasure& system_font, const TextMeasure& dialog_font)
    : screen_(screen), system_font_(system_font), dialog_font_(dialog_font) {
  // The system's rule: the average width of the 52 letters, and the height.
  const int letters = dialog_font_.Width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  base_x_ = std::max(1, (letters / 26 + 1) / 2);
  base_y_ = std::max(1, dialog_font_.Height());
}

PixelRect Layout::WorkArea() const {
  return {0, 0, screen_.width, std::max(0, screen_.height - kTaskbarHeight)};
}

PixelRect Layout::Taskbar() const {
  const PixelRect work = WorkArea();
  return {0, work.bottom(), screen_.width, screen_.height - work.height};
}

PixelRect Layout::MainWindowRect(platform::WindowState state) const {
  const PixelRect work = WorkArea();
  if (state == platform::WindowState::kMaximized) return work.Inset(-kSizingFrame);
  return {work.width / 8, work.height / 8, work.width * 3 / 4, work.height * 3 / 4};
}

PixelRect Layout::ClientRect(const PixelRect& window, FrameKind frame, bool caption) {
  const int border = frame == FrameKind::kSizing ? kSizingFrame : kDialogFrame;
  PixelRect client = window.Inset(border);
  if (caption) {
    client.y += kCaptionHeight;
    client.height -= kCaptionHeight;
  }
  client.width = std::max(0, client.width);
  client.height = std::max(0, client.height);
  return client;
}

int Layout::HorizontalPixels(int units) const {
  return MulDiv(units, base_x_, 4);
}
int Layout::VerticalPixels(int units) const {
  return MulDiv(units, base_y_, 8);
}

PixelRect Layout::DialogWindowRect(const DialogTemplate& dialog) const {
  const bool caption = dialog.HasStyle(kWsCaption);
  const int width = HorizontalPixels(dialog.width) + 2 * kDialogFrame;
  const int height =
      VerticalPixels(dialog.height) + 2 * kDialogFrame + (caption ? kCaptionHeight : 0);
  if (dialog.HasStyle(kDsCenter)) return CenteredInWorkArea(width, height);
  return {HorizontalPixels(dialog.x), VerticalPixels(dialog.y), width, height};
}

PixelRect Layout::ControlRect(const DialogControl& control, const PixelRect& client) const {
  return {client.x + HorizontalPixels(control.x), client.y + VerticalPixels(control.y),
          HorizontalPixels(control.width), VerticalPixels(control.height)};
}

BoxLayout Layout::MessageBoxLayout(std::string_view caption, std::string_view text,
                                   std::size_t button_count) const {
  BoxLayout box;
  const int text_left = kBoxMargin + kIconSize + kIconGap;
  const int widest_text = std::max(1, screen_.width * 5 / 8 - text_left - kBoxMargin);
  box.lines = WrapText(text, widest_text, dialog_font_);
  int text_width = 0;
  for (const std::string& line : box.lines) {
    text_width = std::max(text_width, dialog_font_.Width(line));
  }
  const int text_height = static_cast<int>(box.lines.size()) * dialog_font_.Height();
  const int count = static_cast<int>(button_count);
  const int buttons_width = count * kButtonWidth + std::max(0, count - 1) * kButtonGap;
  const int content_height = std::max(kIconSize, text_height);

  const int client_width =
      std::max({text_left + text_width + kBoxMargin, buttons_width + 2 * kBoxMargin,
                dialog_font_.Width(caption) + 3 * kBoxMargin});
  const int client_height =
      kBoxMargin + content_height + kButtonTopGap + kButtonHeight + kBoxMargin;
  box.window = CenteredInWorkArea(client_width + 2 * kDialogFrame,
                                  client_height + 2 * kDialogFrame + kCaptionHeight);
  const PixelRect client = ClientRect(box.window, FrameKind::kDialog, true);

  box.icon = {client.x + kBoxMargin, client.y + kBoxMargin, kIconSize, kIconSize};
  box.text = {client.x + text_left, client.y + kBoxMargin + (content_height - text_height) / 2,
              text_width, text_height};
  const int buttons_top = client.y + kBoxMargin + content_height + kButtonTopGap;
  int left = client.x + (client.width - buttons_width) / 2;
  for (int i = 0; i < count; ++i) {
    box.buttons.push_back({left, buttons_top, kButtonWidth, kButtonHeight});
    left += kButtonWidth + kButtonGap;
  }
  return box;
}

PixelRect Layout::CenteredInWorkArea(int width, int height) const {
  const PixelRect work = WorkArea();
  return {std::max(0, (work.width - width) / 2), std::max(0, (work.height - height) / 2), width,
          height};
}

}  // namespace qv::sim
