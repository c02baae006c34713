#include "sim/desktop/main_canvas.h"

#include <algorithm>
#include <map>

namespace qv::sim {
namespace {

struct Cell {
  int x = 0;
  int advance = 0;
  char byte = 0;
};

// Whether a later op paints over the middle of a cell of a line at row y.
bool Covered(const std::vector<CanvasOp>& ops, std::size_t after, int row, int middle_x2,
             int height, const TextMeasure& font) {
  const int middle_y = row + height / 2;
  for (std::size_t i = after + 1; i < ops.size(); ++i) {
    if (const auto* text = std::get_if<CanvasText>(&ops[i])) {
      const int width = font.Width(text->text);
      if (text->y == row && middle_x2 >= 2 * text->x && middle_x2 < 2 * (text->x + width)) {
        return true;
      }
    } else if (std::get<CanvasErase>(ops[i]).rect.Contains(middle_x2 / 2, middle_y)) {
      return true;
    }
  }
  return false;
}

}  // namespace

void MainCanvas::Clear(int client_width, int client_height) {
  client_width_ = client_width;
  client_height_ = client_height;
  ops_.clear();
}

void MainCanvas::DrawText(int x, int y, std::string_view text) {
  // Built first and moved in: Clang 14 cannot aggregate-initialise in place.
  ops_.emplace_back(std::in_place_type<CanvasText>, CanvasText{x, y, std::string(text)});
}

void MainCanvas::Erase(const PixelRect& rect) {
  if (rect.empty()) return;
  if (rect.x <= 0 && rect.y <= 0 && rect.right() >= client_width_ &&
      rect.bottom() >= client_height_) {
    ops_.clear();
    return;
  }
  ops_.emplace_back(std::in_place_type<CanvasErase>, CanvasErase{rect});
}

std::vector<VisibleText> MainCanvas::Visible(const TextMeasure& font) const {
  const int height = font.Height();
  const PixelRect client{0, 0, client_width_, client_height_};
  std::map<int, std::vector<Cell>> rows;
  for (std::size_t i = 0; i < ops_.size(); ++i) {
    const auto* line = std::get_if<CanvasText>(&ops_[i]);
    if (line == nullptr) continue;
    int x = line->x;
    for (const char byte : line->text) {
      const int advance = font.Advance(static_cast<unsigned char>(byte));
      const int middle_x2 = 2 * x + advance;  // doubled to stay whole
      if (client.Contains(middle_x2 / 2, line->y + height / 2) &&
          !Covered(ops_, i, line->y, middle_x2, height, font)) {
        rows[line->y].push_back({x, advance, byte});
      }
      x += advance;
    }
  }
  std::vector<VisibleText> runs;
  for (auto& [y, cells] : rows) {
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell& a, const Cell& b) { return a.x < b.x; });
    int next_x = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i == 0 || cells[i].x != next_x) runs.push_back({cells[i].x, y, {}});
      runs.back().text += cells[i].byte;
      next_x = cells[i].x + cells[i].advance;
    }
  }
  return runs;
}

std::string FormatVisibleText(const std::vector<VisibleText>& runs) {
  std::string out;
  for (const VisibleText& run : runs) {
    out += "(" + std::to_string(run.x) + ", " + std::to_string(run.y) + ") " + run.text + "\n";
  }
  return out;
}

}  // namespace qv::sim
