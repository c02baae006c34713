#include "sim/screen_pictures.h"

#include <cstdio>
#include <stdexcept>

#include "sim/desktop/png_file.h"
#include "sim/desktop/screen_renderer.h"
#include "sim/host_io.h"

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPicturePrefix = "screen-";

std::string PictureStem(std::size_t number) {
  char stem[32];
  std::snprintf(stem, sizeof stem, "screen-%03zu", number);
  return stem;
}

// Numbers grow past three digits, so longer names are later.
bool Later(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() > b.size() : a > b;
}

bool IsBootOutput(const std::string& name) {
  return name.starts_with(kPicturePrefix) || name.starts_with("transcript.") ||
         name == "launched.json";
}

}  // namespace

void ScreenPictures::Take(SimDesktop& desktop) {
  const std::string stem = PictureStem(taken_.size() + 1);
  const fs::path png = state_folder_ / (stem + ".png");
  std::string error;
  if (!WritePng(RenderScreen(desktop.Screen(), fonts_), png, error)) {
    errors_.push_back(error);
    return;
  }
  try {
    WriteFileAtomically(state_folder_ / (stem + ".txt"),
                        FormatVisibleText(desktop.MainWindowText()));
  } catch (const std::runtime_error& failure) {
    errors_.push_back(failure.what());
  }
  taken_.push_back(png);
}

std::optional<std::string> LatestScreenText(const fs::path& state_folder) {
  std::optional<fs::path> latest;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(state_folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(kPicturePrefix) && entry.path().extension() == ".txt" &&
        (!latest || Later(name, latest->filename().string()))) {
      latest = entry.path();
    }
  }
  if (!latest) return std::nullopt;
  return ReadWholeFile(*latest);
}

void ClearBootState(const fs::path& state_folder) {
  std::error_code error;
  std::vector<fs::path> old;
  for (const fs::directory_entry& entry : fs::directory_iterator(state_folder, error)) {
    if (IsBootOutput(entry.path().filename().string())) old.push_back(entry.path());
  }
  for (const fs::path& file : old) {
    if (!fs::remove(file, error) && error) {
      throw std::runtime_error(file.string() + ": cannot be removed");
    }
  }
}

}  // namespace qv::sim
