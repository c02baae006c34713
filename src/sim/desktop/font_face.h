// One DejaVu face at one pixel size, through FreeType: measures the
// loader's bytes (system code page) and draws them anti-aliased.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/desktop_types.h"
#include "sim/desktop/image.h"
#include "sim/desktop/pixel_rect.h"
#include "sim/desktop/text_measure.h"

namespace qv::sim {

class FontFace final : public TextMeasure {
 public:
  // nullptr, with the reason in error, when the file cannot be used.
  static std::unique_ptr<FontFace> Open(const std::filesystem::path& file, int pixel_size,
                                        std::string& error);
  ~FontFace() override;
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  int Advance(unsigned char byte) const override { return advances_[byte]; }
  int Height() const override { return height_; }
  int Ascent() const { return ascent_; }

  // Draws the text with the top-left corner of its line at (x, top),
  // painting only inside clip.
  void Draw(Image& image, int x, int top, std::string_view text, platform::Rgb colour,
            const PixelRect& clip) const;

 private:
  struct Handles;
  explicit FontFace(std::unique_ptr<Handles> handles);

  std::unique_ptr<Handles> handles_;
  std::array<int, 256> advances_{};
  int height_ = 0;
  int ascent_ = 0;
};

}  // namespace qv::sim
