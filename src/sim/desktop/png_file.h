// Writes a picture of the screen as a PNG file through libpng. The file
// appears whole or not at all: it is written beside its place and renamed.
#pragma once

#include <filesystem>
#include <string>

#include "sim/desktop/image.h"

namespace qv::sim {

// False, with the reason in error, when the file could not be written.
bool WritePng(const Image& image, const std::filesystem::path& path, std::string& error);

}  // namespace qv::sim
