// Where things stand on the simulated screen: the work area above the
// taskbar, the main window in each show state, frames and client areas,
// dialogs and their controls from dialog units (through the base units of
// the dialog font), and message boxes sized to their text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_types.h"
#include "sim/desktop/dialog_template.h"
#include "sim/desktop/machine_sections.h"
#include "sim/desktop/pixel_rect.h"
#include "sim/desktop/text_measure.h"

namespace qv::sim {

inline constexpr int kCaptionHeight = 18;
inline constexpr int kSizingFrame = 4;
inline constexpr int kDialogFrame = 3;
inline constexpr int kTaskbarHeight = 28;

enum class FrameKind { kSizing, kDialog };

struct BoxLayout {
  PixelRect window;
  PixelRect icon;
  PixelRect text;  // the first line's top-left corner and the block's size
  std::vector<std::string> lines;
  std::vector<PixelRect> buttons;
};

class Layout {
 public:
  // The measures must outlive the layout.
  Layout(ScreenSize screen, const TextMeasure& system_font, const TextMeasure& dialog_font);

  const ScreenSize& screen() const { return screen_; }
  const TextMeasure& system_font() const { return system_font_; }
  const TextMeasure& dialog_font() const { return dialog_font_; }

  PixelRect WorkArea() const;
  PixelRect Taskbar() const;

  // Normal: the system's default place and size; maximised: the work area
  // with the frame pushed off-screen. A minimised window is not drawn.
  PixelRect MainWindowRect(platform::WindowState state) const;

  static PixelRect ClientRect(const PixelRect& window, FrameKind frame, bool caption);

  // Dialog units to pixels, rounded as the system does.
  int HorizontalPixels(int units) const;
  int VerticalPixels(int units) const;

  PixelRect DialogWindowRect(const DialogTemplate& dialog) const;
  PixelRect ControlRect(const DialogControl& control, const PixelRect& client) const;

  BoxLayout MessageBoxLayout(std::string_view caption, std::string_view text,
                             std::size_t button_count) const;

 private:
  PixelRect CenteredInWorkArea(int width, int height) const;

  ScreenSize screen_;
  const TextMeasure& system_font_;
  const TextMeasure& dialog_font_;
  int base_x_;
  int base_y_;
};

}  // namespace qv::sim
