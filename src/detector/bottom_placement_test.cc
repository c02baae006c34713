#include "detector/bottom_placement.h"

#include <gtest/gtest.h>

#include "platform/platform_wrapper.h"
#include "sim/test_machine.h"

namespace qv::detector {
namespace {

using platform::CodePage;
using platform::WindowHandle;

// Counts the walks over the desktop's children.
class WalkCounter final : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  WindowHandle TopChildWindow(WindowHandle parent) override {
    ++walks;
    return PlatformWrapper::TopChildWindow(parent);
  }
  int walks = 0;
};

class BottomPlacementTest : public ::testing::Test {
 protected:
  WindowHandle Dialog(std::string_view caption) {
    const WindowHandle dialog = desktop_.CreateModelessDialog(platform::kChoiceDialogTemplate, {});
    desktop_.SetWindowTitle(dialog, caption);
    return dialog;
  }
  // Looked at past the counter.
  WindowHandle Bottom() {
    platform::Desktop& desktop = machine_.machine().platform().desktop;
    WindowHandle last;
    for (WindowHandle w = desktop.TopChildWindow(desktop.DesktopWindow()); w;
         w = desktop.NextWindow(w)) {
      last = w;
    }
    return last;
  }

  sim::TestMachine machine_;
  WalkCounter counter_{machine_.machine().platform()};
  platform::Desktop& desktop_ = counter_;
};

TEST_F(BottomPlacementTest, TheFirstWindowFromTheTopThatHoldsTheTextGoesToTheBottom) {
  const WindowHandle lower = Dialog("Untitled - NotepadProc");
  const WindowHandle upper = Dialog("NotepadProc");
  Dialog("Other");
  EXPECT_TRUE(
      PlaceAtBottom(desktop_, CodePage::kWestern, desktop_.DesktopWindow(), "NotepadProc", true));
  EXPECT_EQ(Bottom(), upper);
  EXPECT_TRUE(
      PlaceAtBottom(desktop_, CodePage::kWestern, desktop_.DesktopWindow(), "Untitled", false));
  EXPECT_EQ(Bottom(), lower);
  EXPECT_EQ(counter_.walks, 2);
}

TEST_F(BottomPlacementTest, ASearchForAMissingWindowEndsAfterItsWalks) {
  Dialog("Other");
  EXPECT_FALSE(
      PlaceAtBottom(desktop_, CodePage::kWestern, desktop_.DesktopWindow(), "NotepadProc", true));
  EXPECT_EQ(counter_.walks, kPlacementWalks);
  EXPECT_FALSE(
      PlaceAtBottom(desktop_, CodePage::kWestern, desktop_.DesktopWindow(), "NotepadProc", false));
  EXPECT_EQ(counter_.walks, kPlacementWalks + 1);
}

}  // namespace
}  // namespace qv::detector
