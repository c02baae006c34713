#include "sim/desktop/image.h"

#include <algorithm>

namespace qv::sim {

Image::Image(int width, int height, platform::Rgb fill)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
  pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3);
  Fill(bounds(), fill);
}

platform::Rgb Image::At(int x, int y) const {
  const std::size_t offset = Offset(x, y);
  return {pixels_[offset], pixels_[offset + 1], pixels_[offset + 2]};
}

void Image::Set(int x, int y, platform::Rgb colour) {
  if (!bounds().Contains(x, y)) return;
  const std::size_t offset = Offset(x, y);
  pixels_[offset] = colour.r;
  pixels_[offset + 1] = colour.g;
  pixels_[offset + 2] = colour.b;
}

// Every picture begins by filling the whole screen: one row is filled pixel
// by pixel, the others are copies of it.
void Image::Fill(const PixelRect& rect, platform::Rgb colour) {
  const PixelRect clipped = Intersection(rect, bounds());
  if (clipped.empty()) return;
  const auto first = pixels_.begin() + static_cast<std::ptrdiff_t>(Offset(clipped.x, clipped.y));
  for (int x = 0; x < clipped.width; ++x) {
    first[3 * x] = colour.r;
    first[3 * x + 1] = colour.g;
    first[3 * x + 2] = colour.b;
  }
  const auto row_bytes = static_cast<std::ptrdiff_t>(clipped.width) * 3;
  for (int y = clipped.y + 1; y < clipped.bottom(); ++y)
    std::copy_n(first, row_bytes,
                pixels_.begin() + static_cast<std::ptrdiff_t>(Offset(clipped.x, y)));
}

void Image::Blend(int x, int y, platform::Rgb colour, std::uint8_t coverage) {
  if (!bounds().Contains(x, y) || coverage == 0) return;
  const platform::Rgb below = At(x, y);
  const auto mix = [coverage](std::uint8_t from, std::uint8_t to) {
    return static_cast<std::uint8_t>((from * (255 - coverage) + to * coverage + 127) / 255);
  };
  Set(x, y, {mix(below.r, colour.r), mix(below.g, colour.g), mix(below.b, colour.b)});
}

}  // namespace qv::sim
