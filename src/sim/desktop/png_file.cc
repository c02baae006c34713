#include "sim/desktop/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <system_error>

namespace qv::sim {
namespace {

struct EncodeState {
  char message[160] = "";
};

void OnError(png_structp png, png_const_charp message) {
  auto* state = static_cast<EncodeState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// libpng reports a failure by a long jump back here, so nothing in this
// frame has a destructor. A screen is mostly rows that repeat the row above:
// the Up filter with the fastest matching packs it within a tenth of
// libpng's defaults (adaptive filters, level 6) in a third of the time, which
// is what a boot that draws hundreds of dialogs spends.
bool Encode(std::FILE* file, const Image& image, EncodeState& state) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(state.message, sizeof state.message, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  const auto width = static_cast<png_uint_32>(image.width());
  png_set_IHDR(png, info, width, static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  const png_byte* row = image.rgb().data();
  for (int y = 0; y < image.height(); ++y, row += width * 3)
    png_write_row(png, row);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const Image& image, const std::filesystem::path& path, std::string& error) {
  std::filesystem::path partial = path;
  partial += ".part";
  const auto fail = [&](const std::string& reason) {
    error = "cannot write " + path.string() + ": " + reason;
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return false;
  };
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) return fail(std::generic_category().message(errno));
  EncodeState state;
  const bool encoded = Encode(file, image, state);
  bool stored = std::fflush(file) == 0 && std::ferror(file) == 0;
  int store_errno = errno;
  if (std::fclose(file) != 0 && stored) {
    stored = false;
    store_errno = errno;
  }
  if (!encoded) return fail(state.message);
  if (!stored) return fail(std::generic_category().message(store_errno));
  std::error_code renamed;
  std::filesystem::rename(partial, path, renamed);
  if (renamed) return fail(renamed.message());
  return true;
}

}  // namespace qv::sim
