#include "sim/desktop/layout.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "sim/desktop/desktop_test_support.h"

namespace qv::sim {
namespace {

using platform::WindowState;
using testing::FixedPitchFont;

class LayoutTest : public ::testing::Test {
 protected:
  DialogTemplates templates_ = BuiltInDialogTemplates();
  FixedPitchFont font_;  // base units 6 x 13
  Layout layout_{ScreenSize{640, 480}, font_, font_};
};

TEST_F(LayoutTest, DialogUnitsBecomePixelsThroughTheBaseUnits) {
  EXPECT_EQ(layout_.HorizontalPixels(4), 6);
  EXPECT_EQ(layout_.HorizontalPixels(7), 11);  // 10.5 rounds up
  EXPECT_EQ(layout_.VerticalPixels(8), 13);
  EXPECT_EQ(layout_.VerticalPixels(20), 33);  // 32.5 rounds up
  EXPECT_EQ(layout_.HorizontalPixels(-7), -11);
}

TEST_F(LayoutTest, StatusBoxIsCentredInTheWorkAreaAndItsEditSitsInTheClient) {
  const DialogTemplate& box = *templates_.Find(130);
  const PixelRect window = layout_.DialogWindowRect(box);
  const int width = 279 + 2 * kDialogFrame;                    // 186 units
  const int height = 154 + 2 * kDialogFrame + kCaptionHeight;  // 95 units
  EXPECT_EQ(window, (PixelRect{(640 - width) / 2, (452 - height) / 2, width, height}));
  const PixelRect client = Layout::ClientRect(window, FrameKind::kDialog, true);
  EXPECT_EQ(layout_.ControlRect(box.controls[0], client),
            (PixelRect{client.x + 11, client.y + 33, 258, 23}));
}

TEST_F(LayoutTest, ChoiceDialogWithoutCentringStandsAtItsTemplatePlace) {
  const PixelRect window = layout_.DialogWindowRect(*templates_.Find(150));
  EXPECT_EQ(window.x, 0);
  EXPECT_EQ(window.y, 0);
  EXPECT_EQ(window.width, 455 + 2 * kDialogFrame);
}

TEST_F(LayoutTest, MainWindowStates) {
  EXPECT_EQ(layout_.WorkArea(), (PixelRect{0, 0, 640, 480 - kTaskbarHeight}));
  EXPECT_EQ(layout_.Taskbar(), (PixelRect{0, 480 - kTaskbarHeight, 640, kTaskbarHeight}));
  const PixelRect maximised = layout_.MainWindowRect(WindowState::kMaximized);
  // The frame lies off-screen: the client area starts at the screen's edge.
  const PixelRect client = Layout::ClientRect(maximised, FrameKind::kSizing, true);
  EXPECT_EQ(client, (PixelRect{0, kCaptionHeight, 640, 452 - kCaptionHeight}));
  const PixelRect normal = layout_.MainWindowRect(WindowState::kNormal);
  EXPECT_GT(normal.x, 0);
  EXPECT_LE(normal.right(), 640);
}

TEST_F(LayoutTest, MessageBoxFitsItsLinesAndCentresItsButtons) {
  const BoxLayout box = layout_.MessageBoxLayout("qv731Ldr", "short\na longer second line", 2);
  ASSERT_EQ(box.lines, (std::vector<std::string>{"short", "a longer second line"}));
  EXPECT_EQ(box.text.width, 20 * 6);
  EXPECT_EQ(box.text.height, 2 * 13);
  ASSERT_EQ(box.buttons.size(), 2u);
  const PixelRect client = Layout::ClientRect(box.window, FrameKind::kDialog, true);
  EXPECT_LE(std::abs((box.buttons[0].x - client.x) - (client.right() - box.buttons[1].right())), 1);
  EXPECT_GE(box.text.x, box.icon.right());
  EXPECT_LE(box.text.right(), client.right());
  EXPECT_EQ(box.window.x, (640 - box.window.width) / 2);

  // A very long line wraps to stay within the screen.
  const BoxLayout wide = layout_.MessageBoxLayout("x", std::string(60, 'w') + " " + "tail", 1);
  EXPECT_EQ(wide.lines.size(), 2u);
  EXPECT_LE(wide.window.width, 640);
}

}  // namespace
}  // namespace qv::sim
