#include "loader/loader.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::loader {
namespace {

TEST(Loader, StartsUpMinimisedMatchesTheSwitchesAndRunsTheSequenceOnce) {
  sim::TestMachine test;
  sim::Machine& machine = test.machine();
  std::string_view command_line("/noram /asi rest\0/usb", 21);
  machine.system().SetCommandLine(std::string(command_line));
  app::Application application(machine.platform(), BuildSubsystems);
  const sim::RunEnd end = sim::RunProcess([&] { application.Run(); });
  EXPECT_EQ(end.way, sim::RunEnd::Way::kExited);
  // Text after a zero byte is not part of the command line.
  EXPECT_EQ(application.command_line(), "  rest");
  EXPECT_TRUE(application.process().switches.noram);
  EXPECT_TRUE(application.process().switches.asi);
  EXPECT_FALSE(application.process().switches.usb);
  EXPECT_EQ(machine.system().starts().size(), 1u);
}

}  // namespace
}  // namespace qv::loader
