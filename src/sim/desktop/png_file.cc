#include "sim/desktop/png_file.h"

#include <png.h>

#include <system_error>

namespace qv::sim {

bool WritePng(const Image& image, const std::filesystem::path& path, std::string& error) {
  png_image info{};
  info.version = PNG_IMAGE_VERSION;
  info.width = static_cast<png_uint_32>(image.width());
  info.height = static_cast<png_uint_32>(image.height());
  info.format = PNG_FORMAT_RGB;
  std::filesystem::path partial = path;
  partial += ".part";
  const bool written =
      png_image_write_to_file(&info, partial.c_str(), 0, image.rgb().data(), 0, nullptr) != 0;
  if (!written) {
    error = "cannot write " + path.string() + ": " + info.message;
    png_image_free(&info);
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return false;
  }
  std::error_code renamed;
  std::filesystem::rename(partial, path, renamed);
  if (renamed) {
    error = "cannot write " + path.string() + ": " + renamed.message();
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return false;
  }
  return true;
}

}  // namespace qv::sim
