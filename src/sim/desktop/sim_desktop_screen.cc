// The screen as a scene to render, and the main window's status lines as
// text.
#include <algorithm>

#include "sim/desktop/sim_desktop.h"
#include "sim/desktop/system_colours.h"

namespace qv::sim {

using platform::BoxAnswer;
using platform::WindowHandle;

namespace {

const char* ButtonLabel(BoxAnswer answer) {
  switch (answer) {
    case BoxAnswer::kOk:
      return "OK";
    case BoxAnswer::kYes:
      return "Yes";
    case BoxAnswer::kNo:
      return "No";
  }
  return "?";
}

SceneControlKind SceneKindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kEdit:
      return SceneControlKind::kEdit;
    case ControlKind::kStatic:
      return SceneControlKind::kStatic;
    case ControlKind::kPushButton:
      return SceneControlKind::kPushButton;
    case ControlKind::kGroupBox:
      return SceneControlKind::kGroupBox;
  }
  return SceneControlKind::kStatic;
}

void AddDialogControls(const SimWindow& window, const Layout& layout, SceneWindow& scene) {
  const std::vector<DialogControl>& controls = window.dialog->controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if ((controls[i].style & kWsVisible) == 0) continue;
    scene.controls.push_back({SceneKindOf(controls[i].kind),
                              layout.ControlRect(controls[i], scene.client),
                              window.control_texts[i]});
  }
}

void AddBoxControls(const SimWindow& window, SceneWindow& scene) {
  scene.controls.push_back({SceneControlKind::kWarningIcon, window.box.icon, {}});
  std::string text;
  for (const std::string& line : window.box.lines)
    text += (text.empty() ? "" : "\n") + line;
  scene.controls.push_back({SceneControlKind::kStatic, window.box.text, text});
  for (std::size_t i = 0; i < window.box_buttons.size(); ++i) {
    scene.controls.push_back(
        {SceneControlKind::kPushButton, window.box.buttons[i], ButtonLabel(window.box_buttons[i])});
  }
}

SceneWindow SceneOf(const SimWindow& window, const Layout& layout) {
  SceneWindow scene;
  scene.rect = window.rect;
  scene.client = window.Client();
  scene.title = window.title;
  scene.client_colour = kFaceColour;
  switch (window.role) {
    case WindowRole::kMain:
    case WindowRole::kProgram:
      scene.sizing_frame = true;
      scene.close_box = true;
      scene.min_max_boxes = true;
      scene.client_colour = window.role == WindowRole::kMain ? window.background : kWindowColour;
      if (window.role == WindowRole::kMain) scene.canvas = window.canvas.ops();
      break;
    case WindowRole::kDialog:
      scene.caption = window.dialog->HasStyle(kWsCaption);
      scene.close_box = window.dialog->HasStyle(kWsSysMenu);
      AddDialogControls(window, layout, scene);
      break;
    case WindowRole::kMessageBox:
      scene.close_box = true;
      AddBoxControls(window, scene);
      break;
  }
  return scene;
}

}  // namespace

Scene SimDesktop::Screen() {
  RefreshPrograms();
  Scene scene;
  scene.screen = layout_.screen();
  scene.taskbar = layout_.Taskbar();
  for (const WindowHandle handle : windows_.z_order()) {
    const SimWindow& window = *windows_.Find(handle);
    if (!window.Drawn()) continue;
    scene.windows.push_back(SceneOf(window, layout_));
    scene.windows.back().active = scene.windows.size() == 1;
  }
  std::reverse(scene.windows.begin(), scene.windows.end());

  // Taskbar buttons in the order the windows were made.
  std::vector<WindowHandle> made = windows_.z_order();
  std::sort(made.begin(), made.end());
  for (const WindowHandle handle : made) {
    const SimWindow& window = *windows_.Find(handle);
    const bool application = window.role == WindowRole::kMain ||
                             (window.role == WindowRole::kProgram && window.has_rect);
    if (application && window.visible && !window.title.empty()) {
      scene.taskbar_buttons.push_back(window.title);
    }
  }
  return scene;
}

std::vector<VisibleText> SimDesktop::MainWindowText() const {
  const SimWindow* main = windows_.Find(latest_main_);
  const MainCanvas& canvas = main != nullptr ? main->canvas : retired_main_canvas_;
  return canvas.Visible(layout_.system_font());
}

}  // namespace qv::sim
