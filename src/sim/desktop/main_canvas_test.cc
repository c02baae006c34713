#include "sim/desktop/main_canvas.h"

#include <gtest/gtest.h>

#include "sim/desktop/desktop_test_support.h"

namespace qv::sim {

void PrintTo(const VisibleText& run, std::ostream* out) {
  *out << "(" << run.x << ", " << run.y << ") \"" << run.text << "\"";
}

namespace {

using testing::FixedPitchFont;

TEST(MainCanvas, ShorterLineHidesTheLongerOnlyAsFarAsItsSpacesReach) {
  const FixedPitchFont font;  // 6 pixels a byte
  MainCanvas canvas(400, 300);
  canvas.DrawText(10, 10, "Beginning System Upgrade ....");
  canvas.DrawText(10, 10, "Done.  ");
  canvas.DrawText(10, 30, "second row");
  EXPECT_EQ(canvas.Visible(font), (std::vector<VisibleText>{
                                      {10, 10, "Done.  ng System Upgrade ...."},
                                      {10, 30, "second row"},
                                  }));
  canvas.DrawText(10, 10, "System Upgrade Complete....                                ");
  EXPECT_EQ(canvas.Visible(font)[0].text,
            "System Upgrade Complete....                                ");
}

TEST(MainCanvas, LinesAtOtherPlacesOnTheRowSplitIntoRuns) {
  const FixedPitchFont font;
  MainCanvas canvas(400, 300);
  canvas.DrawText(10, 50, "abcdefghij");
  canvas.DrawText(28, 50, "XY");  // covers d and e
  EXPECT_EQ(canvas.Visible(font), (std::vector<VisibleText>{{10, 50, "abcXYfghij"}}));
  canvas.DrawText(100, 50, "far");
  EXPECT_EQ(canvas.Visible(font).size(), 2u);
  EXPECT_EQ(canvas.Visible(font)[1], (VisibleText{100, 50, "far"}));
}

TEST(MainCanvas, RepaintsAndTheClientEdgeCutLines) {
  const FixedPitchFont font;
  MainCanvas canvas(100, 60);
  canvas.DrawText(10, 10, "0123456789ABCDEFGHIJ");  // reaches past x = 100
  canvas.Erase({28, 0, 12, 60});                    // repaints 3 and 4
  canvas.DrawText(10, 58, "below");                 // its row's middle lies outside
  EXPECT_EQ(canvas.Visible(font),
            (std::vector<VisibleText>{{10, 10, "012"}, {40, 10, "56789ABCDE"}}));
  canvas.DrawText(10, 20, "later");
  canvas.Erase({-5, -5, 200, 200});  // the whole client area
  EXPECT_TRUE(canvas.ops().empty());
  EXPECT_TRUE(canvas.Visible(font).empty());
}

TEST(MainCanvas, ControlBytesAndTrailingSpacesStayAsDrawn) {
  const FixedPitchFont font;
  MainCanvas canvas(400, 300);
  canvas.DrawText(10, 10, "line\n");
  canvas.DrawText(10, 40, "two trailing  ");
  EXPECT_EQ(FormatVisibleText(canvas.Visible(font)), "(10, 10) line\n\n(10, 40) two trailing  \n");
}

}  // namespace
}  // namespace qv::sim
