#include "sim/desktop/png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <unistd.h>

#include <vector>

namespace qv::sim {
namespace {

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("png_file_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

TEST_F(PngFileTest, WritesAPictureThatReadsBackTheSame) {
  Image image(5, 3, {0, 128, 128});
  image.Set(4, 2, {50, 255, 50});
  std::string error;
  const auto path = folder_ / "screen-001.png";
  ASSERT_TRUE(WritePng(image, path, error)) << error;
  EXPECT_FALSE(std::filesystem::exists(folder_ / "screen-001.png.part"));

  png_image info{};
  info.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&info, path.c_str()), 0);
  info.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(info));
  ASSERT_NE(png_image_finish_read(&info, nullptr, pixels.data(), 0, nullptr), 0);
  EXPECT_EQ(info.width, 5u);
  EXPECT_EQ(info.height, 3u);
  EXPECT_EQ(pixels, image.rgb());
}

TEST_F(PngFileTest, FailureLeavesNothingBehind) {
  std::string error;
  EXPECT_FALSE(WritePng(Image(2, 2, {}), folder_ / "missing" / "x.png", error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

}  // namespace
}  // namespace qv::sim
