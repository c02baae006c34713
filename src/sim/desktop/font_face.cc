#include "sim/desktop/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "sim/desktop/code_page.h"

namespace qv::sim {

struct FontFace::Handles {
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  Handles() = default;
  Handles(const Handles&) = delete;
  Handles& operator=(const Handles&) = delete;
  ~Handles() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

std::unique_ptr<FontFace> FontFace::Open(const std::filesystem::path& file, int pixel_size,
                                         std::string& error) {
  auto handles = std::make_unique<Handles>();
  if (FT_Init_FreeType(&handles->library) != 0) {
    error = "cannot start FreeType";
    return nullptr;
  }
  if (FT_New_Face(handles->library, file.c_str(), 0, &handles->face) != 0) {
    error = "cannot open the font " + file.string();
    return nullptr;
  }
  if (FT_Set_Pixel_Sizes(handles->face, 0, static_cast<FT_UInt>(pixel_size)) != 0) {
    error = "the font " + file.string() + " has no size " + std::to_string(pixel_size);
    return nullptr;
  }
  std::unique_ptr<FontFace> font(new FontFace(std::move(handles)));
  const FT_Face face = font->handles_->face;
  font->ascent_ = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
  font->height_ = font->ascent_ - static_cast<int>((face->size->metrics.descender - 32) >> 6);
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t code = Cp1252ToUnicode(static_cast<unsigned char>(byte));
    font->advances_[byte] = FT_Load_Char(face, code, FT_LOAD_DEFAULT) == 0
                                ? static_cast<int>((face->glyph->advance.x + 32) >> 6)
                                : 0;
  }
  return font;
}

FontFace::FontFace(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

FontFace::~FontFace() = default;

void FontFace::Draw(Image& image, int x, int top, std::string_view text, platform::Rgb colour,
                    const PixelRect& clip) const {
  const FT_Face face = handles_->face;
  const PixelRect area = Intersection(clip, image.bounds());
  int pen = x;
  for (const char byte : text) {
    const auto unsigned_byte = static_cast<unsigned char>(byte);
    const int origin = pen;
    pen += advances_[unsigned_byte];
    if (FT_Load_Char(face, Cp1252ToUnicode(unsigned_byte), FT_LOAD_RENDER) == 0) {
      const FT_Bitmap& bitmap = face->glyph->bitmap;
      if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) continue;
      const int left = origin + face->glyph->bitmap_left;
      const int glyph_top = top + ascent_ - face->glyph->bitmap_top;
      const int rows = static_cast<int>(bitmap.rows);
      const int columns = static_cast<int>(bitmap.width);
      for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
          if (!area.Contains(left + column, glyph_top + row)) continue;
          image.Blend(left + column, glyph_top + row, colour,
                      bitmap.buffer[row * bitmap.pitch + column]);
        }
      }
    }
  }
}

}  // namespace qv::sim
