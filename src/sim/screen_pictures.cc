#include "sim/screen_pictures.h"

#include <algorithm>
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

// The number of a picture's file (either of its two), if it is one.
std::optional<std::size_t> PictureNumber(const fs::path& file) {
  const std::string stem = file.stem().string();
  const std::string extension = file.extension().string();
  if (!stem.starts_with(kPicturePrefix) || (extension != ".png" && extension != ".txt")) {
    return std::nullopt;
  }
  const std::string digits = stem.substr(kPicturePrefix.size());
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoul(digits);
}

// The highest picture number in the folder, 0 for none.
std::size_t HighestNumber(const fs::path& state_folder) {
  std::size_t highest = 0;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(state_folder, error)) {
    highest = std::max(highest, PictureNumber(entry.path()).value_or(0));
  }
  return highest;
}

bool IsBootOutput(const std::string& name) {
  return name.starts_with(kPicturePrefix) || name.starts_with("transcript.") ||
         name == "launched.json";
}

}  // namespace

void ScreenPictures::Take(SimDesktop& desktop) {
  if (!enabled_) return;
  const std::string stem = PictureStem(next_number_++);
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

void ScreenPictures::ContinueNumbering() {
  next_number_ = HighestNumber(state_folder_) + 1;
}

std::optional<std::string> LatestScreenText(const fs::path& state_folder) {
  const std::size_t highest = HighestNumber(state_folder);
  if (highest == 0) return std::nullopt;
  return ReadWholeFile(state_folder / (PictureStem(highest) + ".txt"));
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
