#include "app/user_helpers.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::app {
namespace {

TEST(VideoBit, ChangesOnlyBit1OfRegister0x63AndRestoresTheIndex) {
  sim::TestMachine test;
  sim::Machine& machine = test.machine();
  platform::Board& board = machine.board();
  board.WritePort(0x3D6, 0x63);
  board.WritePort(0x3D7, 0x81);
  board.WritePort(0x3D6, 0x17);  // someone else's register is selected
  MainWindow window;
  UserHelpers helpers(machine.platform(), window);

  helpers.SetVideoBit(true);
  EXPECT_EQ(machine.board().ExtensionRegister(0x63), 0x83);
  EXPECT_EQ(board.ReadPort(0x3D6), 0x17);
  helpers.SetVideoBit(true);
  EXPECT_EQ(machine.board().ExtensionRegister(0x63), 0x83);
  helpers.SetVideoBit(false);
  EXPECT_EQ(machine.board().ExtensionRegister(0x63), 0x81);
  EXPECT_EQ(machine.board().ExtensionRegister(0x17), 0);
}

TEST(SystemErrorBox, ShowsTheSystemsTextForTheLastError) {
  sim::TestMachine test;
  sim::Machine& machine = test.machine();
  MainWindow window;
  UserHelpers helpers(machine.platform(), window);
  machine.system().SetLastError(platform::WinError::kAccessDenied);
  helpers.SystemErrorBox();
  machine.system().SetLastError(static_cast<platform::WinError>(0xDEAD));  // no text for it
  helpers.SystemErrorBox();
  const auto& events = machine.journal().events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]["kind"], "error");
  EXPECT_EQ(events[0]["caption"], "qv731Ldr");
  EXPECT_EQ(events[0]["text"], "Access is denied.\r\n");
  EXPECT_EQ(events[1]["text"], "");
}

}  // namespace
}  // namespace qv::app
