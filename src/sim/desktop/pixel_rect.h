// A rectangle of screen or client pixels: left, top, width and height.
#pragma once

#include <algorithm>

namespace qv::sim {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int right() const { return x + width; }
  int bottom() const { return y + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  bool Contains(int px, int py) const {
    return px >= x && px < right() && py >= y && py < bottom();
  }
  PixelRect Moved(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
  // Shrunk by n pixels on every side.
  PixelRect Inset(int n) const { return {x + n, y + n, width - 2 * n, height - 2 * n}; }

  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.right(), b.right());
  const int bottom = std::min(a.bottom(), b.bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

}  // namespace qv::sim
