#include "app/program_start.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::app {
namespace {

TEST(StartProgram, JoinsTheArgumentsUnquotedAndEndsTheLoader) {
  sim::TestMachine test;
  sim::Machine& machine = test.machine();
  const sim::RunEnd end = sim::RunProcess([&] {
    StartProgram(machine.system(), "c:\\scope\\bin\\qv7314x.exe",
                 {"scope", "", "/asi /minimize /lock"});
    ADD_FAILURE() << "returned";
  });
  EXPECT_EQ(end.way, sim::RunEnd::Way::kExited);
  EXPECT_EQ(end.exit_code, 0);
  ASSERT_EQ(machine.system().starts().size(), 1u);
  EXPECT_EQ(machine.system().starts()[0].program, "C:\\scope\\bin\\qv7314x.exe");
  EXPECT_EQ(machine.system().starts()[0].command_line, "scope  /asi /minimize /lock");
}

TEST(StartProgram, AProgramThatCannotStartGivesMinusOneAndTheReason) {
  sim::TestMachine test;
  sim::Machine& machine = test.machine();
  EXPECT_EQ(StartProgram(machine.system(), "c:\\scope\\bin\\InstallLan.exe", {"InstallLan"}), -1);
  EXPECT_EQ(machine.system().LastError(), platform::WinError::kFileNotFound);
  EXPECT_EQ(StartProgram(machine.system(), "c:\\scope\\bin", {"bin"}), -1);
  EXPECT_TRUE(machine.system().starts().empty());
}

}  // namespace
}  // namespace qv::app
