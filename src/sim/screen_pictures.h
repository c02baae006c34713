// Pictures of the simulated screen that a boot leaves in state/: each is a
// PNG (screen-001.png, screen-002.png, ...) with a text file beside it that
// holds the status lines the main window shows in it (screen-001.txt), which
// `qvsim show` prints.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sim/desktop/screen_fonts.h"
#include "sim/desktop/sim_desktop.h"

namespace qv::sim {

class ScreenPictures {
 public:
  // The fonts must outlive the pictures.
  // Disabled, it takes no pictures at all.
  ScreenPictures(std::filesystem::path state_folder, const ScreenFonts& fonts, bool enabled = true)
      : state_folder_(std::move(state_folder)), fonts_(fonts), enabled_(enabled) {}

  // Takes the next picture of the screen as it is now. A picture that
  // cannot be written is noted in errors() and the boot goes on.
  void Take(SimDesktop& desktop);
  // Numbers the next picture after those an earlier boot left, which stay.
  void ContinueNumbering();

  const std::vector<std::filesystem::path>& taken() const { return taken_; }
  const std::vector<std::string>& errors() const { return errors_; }

 private:
  std::filesystem::path state_folder_;
  const ScreenFonts& fonts_;
  bool enabled_;
  std::size_t next_number_ = 1;
  std::vector<std::filesystem::path> taken_;
  std::vector<std::string> errors_;
};

// The status-line text of the latest (highest-numbered) picture in a state
// folder, or nullopt when no boot has left one.
std::optional<std::string> LatestScreenText(const std::filesystem::path& state_folder);

// The file names a boot writes in state/ (transcripts, pictures,
// launched.json): whatever an earlier boot left of them goes first.
void ClearBootState(const std::filesystem::path& state_folder);

}  // namespace qv::sim
