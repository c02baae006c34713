// The fonts of the simulated screen, all DejaVu faces standing in for the
// system's own: the system font of status lines, the dialog font of the
// templates (its point size at 96 dots per inch), and the caption font.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "sim/desktop/font_face.h"

namespace qv::sim {

inline constexpr const char* kDejaVuDirectory = "/usr/share/fonts/truetype/dejavu";

struct ScreenFonts {
  std::unique_ptr<FontFace> system;
  std::unique_ptr<FontFace> dialog;
  std::unique_ptr<FontFace> caption;

  // None, with the reason in error, when a face is missing or unusable.
  static std::optional<ScreenFonts> Load(const std::filesystem::path& directory, int dialog_points,
                                         std::string& error);
};

}  // namespace qv::sim
