// One top-level window of the simulated window system, whoever owns it:
// the loader's main window, dialogs and message boxes, or another
// program's window from the desktop list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop_types.h"
#include "platform/window_handle.h"
#include "sim/desktop/dialog_template.h"
#include "sim/desktop/layout.h"
#include "sim/desktop/machine_sections.h"
#include "sim/desktop/main_canvas.h"
#include "sim/desktop/pixel_rect.h"

namespace qv::sim {

enum class WindowRole { kMain, kDialog, kMessageBox, kProgram };

struct SimWindow {
  platform::WindowHandle handle;
  WindowRole role = WindowRole::kProgram;
  std::string title;
  std::string class_name;
  std::uint32_t process_id = 0;
  bool visible = false;
  platform::WindowState state = platform::WindowState::kNormal;
  PixelRect rect;        // screen pixels in the present state
  bool has_rect = true;  // a program window without one is never drawn

  // Main window.
  platform::Rgb background;
  platform::UserMessageHandler on_user_message;
  MainCanvas canvas;

  // Dialog: its template, one text per template control, and its handlers.
  const DialogTemplate* dialog = nullptr;
  std::vector<std::string> control_texts;
  platform::DialogHandlers handlers;
  int asked_in_scan = -1;  // the scan in which the operator last saw it

  // Message box.
  platform::BoxKind box_kind = platform::BoxKind::kOk;
  std::vector<platform::BoxAnswer> box_buttons;
  BoxLayout box;

  // Program window.
  CloseBehaviour on_close = CloseBehaviour::kClose;

  // Whether its pixels are on the screen (where nothing covers them).
  bool Drawn() const { return visible && has_rect && state != platform::WindowState::kMinimized; }
  PixelRect Client() const {
    const bool sizing = role == WindowRole::kMain || role == WindowRole::kProgram;
    const bool caption = role != WindowRole::kDialog || dialog->HasStyle(kWsCaption);
    return Layout::ClientRect(rect, sizing ? FrameKind::kSizing : FrameKind::kDialog, caption);
  }
};

}  // namespace qv::sim
