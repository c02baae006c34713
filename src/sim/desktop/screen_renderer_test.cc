// Pictures of the simulated screen, checked pixel by pixel where it matters.
#include "sim/desktop/screen_renderer.h"

#include <gtest/gtest.h>

#include "sim/desktop/desktop_test_support.h"
#include "sim/desktop/screen_fonts.h"
#include "sim/desktop/system_colours.h"

namespace qv::sim {
namespace {

using platform::Rgb;
using platform::ShowCommand;
using platform::WindowHandle;
using platform::WindowState;
using testing::kGreen;
using testing::MainOptions;

constexpr Rgb kWhite{255, 255, 255};

class ScreenRendererTest : public ::testing::Test {
 protected:
  ScreenRendererTest() {
    std::string error;
    std::optional<ScreenFonts> fonts = ScreenFonts::Load(kDejaVuDirectory, 8, error);
    if (!fonts) throw std::runtime_error(error);
    fonts_ = std::move(*fonts);
    layout_ = std::make_unique<Layout>(ScreenSize{640, 480}, *fonts_.system, *fonts_.dialog);
    desktop_ = std::make_unique<SimDesktop>(SimDesktopSetup{}, templates_, *layout_, person_,
                                            observer_, time_);
  }

  Image Render() { return RenderScreen(desktop_->Screen(), fonts_); }

  int Count(const Image& image, const PixelRect& area, Rgb colour) {
    int count = 0;
    const PixelRect inside = Intersection(area, image.bounds());
    for (int y = inside.y; y < inside.bottom(); ++y) {
      for (int x = inside.x; x < inside.right(); ++x)
        count += image.At(x, y) == colour;
    }
    return count;
  }

  DialogTemplates templates_ = BuiltInDialogTemplates();
  ScreenFonts fonts_;
  std::unique_ptr<Layout> layout_;
  testing::LambdaOperator person_;
  testing::RecordingObserver observer_;
  testing::ManualTime time_;
  std::unique_ptr<SimDesktop> desktop_;
};

TEST_F(ScreenRendererTest, MaximisedMainWindowIsGreenWithBlackOnWhiteStatusLines) {
  const WindowHandle main = desktop_->CreateMainWindow(MainOptions());
  desktop_->ShowWindow(main, ShowCommand::kShowMaximized);
  const std::string words = "Beginning System Upgrade ....";
  desktop_->DrawClientText(main, 10, 10, words + "                   ");
  const Image image = Render();

  const PixelRect client = Layout::ClientRect(layout_->MainWindowRect(WindowState::kMaximized),
                                              FrameKind::kSizing, true);
  EXPECT_EQ(image.At(client.x + client.width / 2, client.y + client.height / 2), kGreen);
  EXPECT_EQ(image.At(client.x + 5, client.y + 15), kGreen);  // left of the line
  const FontFace& font = *fonts_.system;
  const PixelRect line{client.x + 10, client.y + 10, font.Width(words), font.Height()};
  // The trailing spaces are an opaque white box.
  EXPECT_EQ(image.At(line.right() + 20, line.y + font.Height() / 2), kWhite);
  EXPECT_EQ(image.At(line.x, line.y), kWhite);
  EXPECT_GT(Count(image, line, Rgb{0, 0, 0}), 50);  // the glyphs
  EXPECT_EQ(Count(image, line, kGreen), 0);
  EXPECT_EQ(image.At(line.x, line.bottom()), kGreen);  // just below the line
}

TEST_F(ScreenRendererTest, MinimisedMainWindowShowsNoStatusLinesOnlyItsTaskbarButton) {
  const WindowHandle main = desktop_->CreateMainWindow(MainOptions());
  desktop_->ShowWindow(main, ShowCommand::kShowMinNoActive);
  desktop_->DrawClientText(main, 10, 10, "Who am I???");
  const Image image = Render();
  EXPECT_EQ(Count(image, image.bounds(), kGreen), 0);
  EXPECT_EQ(image.At(320, 200), kDesktopColour);
  EXPECT_GT(Count(image, layout_->Taskbar(), Rgb{0, 0, 0}), 20);  // the button's title
}

TEST_F(ScreenRendererTest, DialogsAreDrawnInZOrder) {
  const WindowHandle main = desktop_->CreateMainWindow(MainOptions());
  desktop_->ShowWindow(main, ShowCommand::kShowMaximized);
  const WindowHandle box = desktop_->CreateModelessDialog(platform::kStatusBoxTemplate, {});
  desktop_->SetWindowTitle(box, "Expanding.......");
  const PixelRect box_rect = layout_->DialogWindowRect(*templates_.Find(130));
  const PixelRect box_client = Layout::ClientRect(box_rect, FrameKind::kDialog, true);
  const int x = box_client.x + box_client.width / 2;
  const int y = box_client.y + 3;  // above the edit control

  const Image above = Render();
  EXPECT_EQ(above.At(x, y), kFaceColour);
  EXPECT_EQ(above.At(box_client.x + 2, box_rect.y + kDialogFrame + 2), kActiveCaptionColour);
  EXPECT_EQ(above.At(5, 300), kGreen);  // the main window around it

  desktop_->PlaceAtBottom(box);
  EXPECT_EQ(Render().At(x, y), kGreen);
}

TEST_F(ScreenRendererTest, WaitingMessageBoxShowsItsIconAboveEverything) {
  const WindowHandle main = desktop_->CreateMainWindow(MainOptions());
  desktop_->ShowWindow(main, ShowCommand::kShowMaximized);
  std::optional<Image> picture;
  std::optional<PixelRect> icon;
  observer_.on_box = [&](SimDesktop& desktop) {
    const Scene scene = desktop.Screen();
    icon = scene.windows.back().controls.front().rect;
    picture = RenderScreen(scene, fonts_);
  };
  desktop_->ShowMessageBox(platform::BoxKind::kYesNo,
                           "Did you already add a printer\nusing the Printer Wizard?");
  ASSERT_TRUE(picture && icon);
  EXPECT_GT(Count(*picture, *icon, kWarningYellow), 100);
  EXPECT_EQ(Count(Render(), *icon, kWarningYellow), 0);  // answered: gone
}

}  // namespace
}  // namespace qv::sim
