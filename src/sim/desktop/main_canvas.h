// What the main window's client area shows: its background with the status
// lines drawn on it since the last full repaint, and the parts that have
// been repainted green since (where a window in front went away). Nothing
// is ever redrawn: a status line lives until something paints over it.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sim/desktop/pixel_rect.h"
#include "sim/desktop/text_measure.h"

namespace qv::sim {

struct CanvasText {
  int x = 0;  // client pixels of the top-left corner
  int y = 0;
  std::string text;
};

struct CanvasErase {
  PixelRect rect;  // client pixels
};

using CanvasOp = std::variant<CanvasText, CanvasErase>;

// A run of a status line that the pixels still show.
struct VisibleText {
  int x = 0;
  int y = 0;
  std::string text;

  friend bool operator==(const VisibleText&, const VisibleText&) = default;
};

class MainCanvas {
 public:
  MainCanvas() = default;
  MainCanvas(int client_width, int client_height) { Clear(client_width, client_height); }

  // The whole client area repainted, at a new size.
  void Clear(int client_width, int client_height);
  void DrawText(int x, int y, std::string_view text);
  void Erase(const PixelRect& rect);

  int client_width() const { return client_width_; }
  int client_height() const { return client_height_; }
  // In the order they were painted.
  const std::vector<CanvasOp>& ops() const { return ops_; }

  // The status lines as the pixels show them, row by row from the top and
  // left to right: a character is gone where a later line on the same row
  // or a repaint covers its middle, or where it lies outside the client
  // area. Trailing spaces are kept (they are white boxes on the screen).
  std::vector<VisibleText> Visible(const TextMeasure& font) const;

 private:
  int client_width_ = 0;
  int client_height_ = 0;
  std::vector<CanvasOp> ops_;
};

// One line per run: "(x, y) text".
std::string FormatVisibleText(const std::vector<VisibleText>& runs);

}  // namespace qv::sim
