// An RGB picture of the screen in memory, with the few painting operations
// the renderer needs. Every operation clips to the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/desktop_types.h"
#include "sim/desktop/pixel_rect.h"

namespace qv::sim {

class Image {
 public:
  Image(int width, int height, platform::Rgb fill);

  int width() const { return width_; }
  int height() const { return height_; }
  PixelRect bounds() const { return {0, 0, width_, height_}; }

  // The pixel at (x, y), which must lie inside.
  platform::Rgb At(int x, int y) const;
  void Set(int x, int y, platform::Rgb colour);
  void Fill(const PixelRect& rect, platform::Rgb colour);
  // Mixes colour into the pixel by coverage (0 keeps it, 255 replaces it).
  void Blend(int x, int y, platform::Rgb colour, std::uint8_t coverage);

  // Rows from the top, three bytes (red, green, blue) per pixel.
  const std::vector<std::uint8_t>& rgb() const { return pixels_; }

 private:
  std::size_t Offset(int x, int y) const {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)) *
           3;
  }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace qv::sim
