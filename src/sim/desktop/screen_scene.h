// The screen as a list of things to paint, bottom first: what the window
// system hands to the renderer. Everything is in screen pixels except the
// main window's canvas, which is in client pixels.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop_types.h"
#include "sim/desktop/machine_sections.h"
#include "sim/desktop/main_canvas.h"
#include "sim/desktop/pixel_rect.h"

namespace qv::sim {

enum class SceneControlKind { kStatic, kEdit, kPushButton, kGroupBox, kWarningIcon };

struct SceneControl {
  SceneControlKind kind = SceneControlKind::kStatic;
  PixelRect rect;
  std::string text;
};

struct SceneWindow {
  PixelRect rect;
  PixelRect client;
  bool sizing_frame = false;  // else a dialog frame
  bool caption = true;
  std::string title;
  bool active = false;
  bool close_box = false;
  bool min_max_boxes = false;
  platform::Rgb client_colour;
  std::vector<CanvasOp> canvas;
  std::vector<SceneControl> controls;
};

struct Scene {
  ScreenSize screen;
  PixelRect taskbar;
  std::vector<std::string> taskbar_buttons;
  std::vector<SceneWindow> windows;  // bottom first
};

}  // namespace qv::sim
