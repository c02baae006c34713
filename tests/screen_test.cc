// The pictures of the instrument's screen that boots leave: taken when a
// box waits and at the end, with the main window's green client area and
// its status lines in black on white, and the status lines as text.
#include <gtest/gtest.h>
#include <png.h>

#include "sim/screen_pictures.h"
#include "tests/scenario.h"

namespace qv::tests {
namespace {

constexpr platform::Rgb kGreen{50, 255, 50};
constexpr platform::Rgb kWhite{255, 255, 255};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  platform::Rgb At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)) *
                          3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

Picture ReadPng(const std::filesystem::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  EXPECT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0) << path;
  image.format = PNG_FORMAT_RGB;
  Picture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  EXPECT_NE(png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr), 0);
  return picture;
}

TEST(Screen, TheHardwareFailureScreenShowsItsLinesOnTheGreenWindow) {
  Scenario scenario;
  scenario.EditConfig([](nlohmann::ordered_json& json) { json["board"]["answer_length"] = 4; });
  const sim::BootOutcome& outcome = scenario.Boot();
  ASSERT_EQ(outcome.pictures.size(), 1u);
  EXPECT_EQ(outcome.pictures[0].filename(), "screen-001.png");
  const Picture picture = ReadPng(outcome.pictures[0]);
  ASSERT_EQ(picture.width, 640);
  ASSERT_EQ(picture.height, 480);

  // The client area's top-left corner: the first green pixel from the top.
  int left = -1;
  int top = -1;
  for (int y = 0; y < picture.height && top < 0; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y) == kGreen) {
        left = x;
        top = y;
        break;
      }
    }
  }
  ASSERT_GE(top, 0) << "no green on the screen";
  EXPECT_EQ(picture.At(left + 5, top + 5), kGreen);
  EXPECT_EQ(picture.At(left + 300, top + 200), kGreen);
  // Each line stands on opaque white from its corner, trailing spaces too.
  EXPECT_EQ(picture.At(left + 10, top + 10), kWhite);
  EXPECT_EQ(picture.At(left + 10, top + 40), kWhite);
  EXPECT_EQ(picture.At(left + 9, top + 10), kGreen);
  int ink = 0;
  for (int x = left + 10; x < left + 300; ++x) {
    if (picture.At(x, top + 17) == platform::Rgb{0, 0, 0}) ++ink;
  }
  EXPECT_GT(ink, 10) << "no black text on the first line";

  EXPECT_EQ(sim::LatestScreenText(scenario.machine().folder() / "state"),
            "(10, 10) Can't communicate with acquisition interface board.  \n"
            "(10, 40) Please cycle power on the instrument.\n");
}

TEST(Screen, AWaitingBoxIsPicturedAndANewBootReplacesThePictures) {
  Scenario scenario;
  std::filesystem::remove(scenario.machine().Host("scope/bin/qv7311x.exe"));
  EXPECT_EQ(scenario.Boot().pictures.size(), 2u);  // the error box, then the end
  const std::filesystem::path state = scenario.machine().folder() / "state";
  EXPECT_TRUE(std::filesystem::exists(state / "screen-002.png"));
  EXPECT_EQ(sim::LatestScreenText(state), "");  // minimised all along

  scenario.machine().WriteHost("scope/bin/qv7311x.exe", "back");
  EXPECT_EQ(scenario.Boot().pictures.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(state / "screen-002.png"));
  EXPECT_TRUE(std::filesystem::exists(state / "launched.json"));
}

TEST(Screen, AChoiceDialogShowsBeneathTheProgramItAsksAbout) {
  Scenario scenario;
  scenario.EditConfig([](nlohmann::ordered_json& json) {
    json["desktop"]["windows"] = {
        {{"title", "Untitled - Notepad"}, {"class", "Notepad"}, {"rect", {200, 150, 240, 160}}}};
    // Never answered: the loader waits until the boot's time limit.
    json["operator"]["dialogs"] = {{{"text", "*Notepad*"}, {"press", "Wait"}, {"scan", 1'000'000}}};
  });
  const sim::BootOutcome& outcome = scenario.Boot("/autostart");
  // One picture when the dialog first waits for the person, one at the end.
  ASSERT_EQ(outcome.pictures.size(), 2u);
  const Picture picture = ReadPng(outcome.pictures[0]);
  const platform::Rgb kFace{192, 192, 192};
  // The dialog stands at the top left; the program's white client area
  // covers the part of it that they share.
  EXPECT_EQ(picture.At(6, 120), kFace);
  EXPECT_EQ(picture.At(320, 250), kWhite);
  EXPECT_NE(picture.At(150, 300), (platform::Rgb{0, 128, 128}));  // not the desktop
}

}  // namespace
}  // namespace qv::tests
