#include "sim/desktop/screen_fonts.h"

namespace qv::sim {

std::optional<ScreenFonts> ScreenFonts::Load(const std::filesystem::path& directory,
                                             int dialog_points, std::string& error) {
  const int dialog_pixels = (dialog_points * 96 + 36) / 72;
  ScreenFonts fonts;
  fonts.system = FontFace::Open(directory / "DejaVuSans-Bold.ttf", 12, error);
  if (fonts.system == nullptr) return std::nullopt;
  fonts.dialog = FontFace::Open(directory / "DejaVuSansCondensed.ttf", dialog_pixels, error);
  if (fonts.dialog == nullptr) return std::nullopt;
  fonts.caption = FontFace::Open(directory / "DejaVuSansCondensed-Bold.ttf", dialog_pixels, error);
  if (fonts.caption == nullptr) return std::nullopt;
  return fonts;
}

}  // namespace qv::sim
