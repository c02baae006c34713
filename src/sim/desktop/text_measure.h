// How wide and tall a font draws the loader's bytes. The window system lays
// out dialogs and message boxes and tells what status lines cover with it;
// the screen's FreeType fonts implement it, tests use a fixed pitch.
#pragma once

#include <string_view>

namespace qv::sim {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;

  // Pixels the pen moves for one byte of the system's code page.
  virtual int Advance(unsigned char byte) const = 0;
  // Pixels from the top of a line to the next line's top.
  virtual int Height() const = 0;

  int Width(std::string_view text) const {
    int width = 0;
    for (const char byte : text)
      width += Advance(static_cast<unsigned char>(byte));
    return width;
  }
};

}  // namespace qv::sim
