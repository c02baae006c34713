#include "sim/desktop/window_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::sim {
namespace {

using platform::WindowHandle;

SimWindow Titled(const std::string& title) {
  SimWindow window;
  window.title = title;
  return window;
}

TEST(WindowTable, HandlesStepByFourAndOnlyLiveOnesAreFound) {
  WindowTable table;
  const WindowHandle first = table.Add(Titled("first")).handle;
  const WindowHandle second = table.Add(Titled("second")).handle;
  EXPECT_EQ(first.value, 0x0100u);
  EXPECT_EQ(second.value, 0x0104u);
  table.Remove(first);
  EXPECT_EQ(table.Find(first), nullptr);
  ASSERT_NE(table.Find(second), nullptr);
  EXPECT_EQ(table.Find(second)->title, "second");
  // A handle is never given again.
  EXPECT_EQ(table.Add(Titled("third")).handle.value, 0x0108u);
  // Handles the table never gave find nothing, whatever their value.
  for (const std::uint32_t value : {0x0u, 0x10u, 0xFCu, 0x0102u, 0x010Cu, 0xFFFFFFFCu}) {
    EXPECT_EQ(table.Find(WindowHandle{value}), nullptr) << value;
  }
  EXPECT_EQ(table.z_order(), (std::vector<WindowHandle>{WindowHandle{0x0108}, second}));
}

TEST(WindowTable, AWindowStaysWhereItIsWhileTheTableGrows) {
  WindowTable table;
  SimWindow& kept = table.Add(Titled("kept"));
  const WindowHandle handle = kept.handle;
  for (int i = 0; i < 5000; ++i)
    table.Add(Titled(std::to_string(i)));
  EXPECT_EQ(&kept, table.Find(handle));
  EXPECT_EQ(kept.title, "kept");
  EXPECT_EQ(table.z_order().back(), handle);
}

}  // namespace
}  // namespace qv::sim
