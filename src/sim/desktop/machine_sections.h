// The "desktop", "display" and "screen" sections of machine.json: other
// programs' windows with their lifetimes, the display's colour depth and
// what a mode change answers, and the size of the simulated screen. A
// section that is absent (null) gives the defaults.
//
//   "desktop": {"windows": [                       topmost first
//     {"title": "Program Manager", "class": "Progman", "process": 4},
//     {"title": "Spooler Process", "class": "SpoolProcessClass", "visible": false},
//     {"title": "Untitled - Notepad", "class": "Notepad", "process": 210,
//      "rect": [80, 60, 320, 200], "state": "normal",
//      "from_ms": 0, "until_ms": 20000, "first_scan": 1, "last_scan": 3,
//      "on_close": "stay"}]},
//   "display": {"bits_per_pixel": 8, "change_result": 1},
//   "screen": {"width": 640, "height": 480}
//
// Only "title" and "class" are required. Without a "rect" a window is never
// drawn; "on_close" says whether a close request closes it ("close", the
// default) or not ("stay"). "change_result" is what a display-mode change
// answers: 0 done, 1 restart needed, negative failed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/desktop_types.h"
#include "sim/desktop/pixel_rect.h"
#include "sim/desktop/section_reader.h"

namespace qv::sim {

// When a program's window exists. Scans count the window enumerations of
// the boot from 1; before the first one the count is 0.
struct Lifetime {
  std::int64_t from_ms = 0;              // appears at this virtual time
  std::optional<std::int64_t> until_ms;  // gone from this virtual time on
  int first_scan = 0;                    // appears at the start of this scan
  std::optional<int> last_scan;          // gone after this scan

  bool Begun(int scan, std::int64_t now_ms) const {
    return now_ms >= from_ms && scan >= first_scan;
  }
  bool Ended(int scan, std::int64_t now_ms) const {
    return (until_ms && now_ms >= *until_ms) || (last_scan && scan > *last_scan);
  }
};

enum class CloseBehaviour { kClose, kStay };

struct ProgramWindow {
  std::string title;
  std::string class_name;
  std::uint32_t process_id = 0;
  bool visible = true;
  platform::WindowState state = platform::WindowState::kNormal;
  // Where it stands on screen; without one the window is not drawn.
  std::optional<PixelRect> rect;
  Lifetime lifetime;
  CloseBehaviour on_close = CloseBehaviour::kClose;
};

struct DisplaySetup {
  int bits = 24;  // bits per pixel
  // What a mode change answers (0 done, 1 restart needed, negative failed).
  int change_result = platform::kDisplayChangeSuccessful;
};

// Whether a display can run at this many bits per pixel.
bool IsDisplayDepth(std::int64_t bits);

struct ScreenSize {
  int width = 640;
  int height = 480;
};

// Processes without a "process" field get distinct identifiers from here on.
inline constexpr std::uint32_t kFirstDefaultProcessId = 0x10000;

Parsed<std::vector<ProgramWindow>> ParseDesktopSection(const nlohmann::json& section);
Parsed<DisplaySetup> ParseDisplaySection(const nlohmann::json& section);
Parsed<ScreenSize> ParseScreenSection(const nlohmann::json& section);

}  // namespace qv::sim
