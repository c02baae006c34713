#include "sim/sim_system.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::sim {
namespace {

using platform::WinError;

// Runs the body in a child process on its own Machine; its result is the exit code.
int InChild(const std::filesystem::path& folder, const std::function<int(Machine&)>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    Machine machine(folder);
    ::_exit(body(machine));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int MutexHeldElsewhere(Machine& machine) {
  platform::System& system = machine.platform().system;
  const auto handle = system.CreateNamedMutex("Vornkey");
  return handle && system.LastError() == WinError::kAlreadyExists ? 1 : 0;
}

TEST(NamedMutex, ASecondProcessSeesItHeldUntilTheHolderEnds) {
  TestMachine test;
  EXPECT_EQ(InChild(test.folder(), MutexHeldElsewhere), 0);
  platform::System& system = test.machine().platform().system;
  auto held = system.CreateNamedMutex("Vornkey");
  ASSERT_TRUE(held);
  EXPECT_EQ(system.LastError(), WinError::kSuccess);
  EXPECT_EQ(InChild(test.folder(), MutexHeldElsewhere), 1);
  EXPECT_TRUE(system.CreateNamedMutex("Vornkey"));  // the same process asking again
  EXPECT_EQ(system.LastError(), WinError::kAlreadyExists);
  held.reset();
  EXPECT_EQ(InChild(test.folder(), MutexHeldElsewhere), 0);
}

TEST(NamedMutex, IsReleasedWhenTheHolderIsKilled) {
  TestMachine test;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    Machine machine(test.folder());
    auto handle = machine.platform().system.CreateNamedMutex("Vornkey");
    ::write(ready[1], "x", 1);
    ::pause();
  }
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  EXPECT_EQ(InChild(test.folder(), MutexHeldElsewhere), 1);
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(InChild(test.folder(), MutexHeldElsewhere), 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST(SimSystem, SleepsAdvanceTheVirtualClockAtOnce) {
  TestMachine test;
  platform::System& system = test.machine().platform().system;
  const std::uint32_t start = system.TickCount();
  system.Sleep(10000);
  system.Sleep(5000);
  EXPECT_EQ(system.TickCount() - start, 15000u);
  const platform::LocalTime now = system.Now();
  EXPECT_EQ(std::tie(now.year, now.month, now.day, now.hour, now.minute, now.second),
            std::make_tuple(2001, 5, 17, 10, 0, 15));
  EXPECT_EQ(now.day_of_week, 4);  // a Thursday
  EXPECT_EQ(test.machine().journal().events().back().dump(),
            R"({"t":10000,"event":"sleep","ms":5000})");
}

TEST(SimSystem, ProgramStartIsRecordedAndTheProcessEnds) {
  TestMachine test;
  Machine& machine = test.machine();
  platform::Platform platform = machine.platform();
  ASSERT_TRUE(platform.files.ChangeFolder("C:\\scope\\bin"));
  EXPECT_FALSE(platform.system.StartProgram("c:\\scope\\bin\\missing.exe", "missing"));
  EXPECT_EQ(platform.system.LastError(), WinError::kFileNotFound);
  EXPECT_FALSE(platform.system.StartProgram("\\scope\\nothere\\x.exe", "x"));
  EXPECT_EQ(platform.system.LastError(), WinError::kPathNotFound);
  const RunEnd end = RunProcess([&] {
    if (platform.system.StartProgram("c:\\scope\\bin\\qv7311x.exe", "scope /scope /qvib")) {
      platform.system.ExitProcess(0);
    }
  });
  EXPECT_EQ(end.way, RunEnd::Way::kExited);
  EXPECT_EQ(end.exit_code, 0);
  ASSERT_EQ(machine.system().starts().size(), 1u);
  const ProgramStart& start = machine.system().starts()[0];
  EXPECT_EQ(start.program, "C:\\scope\\bin\\qv7311x.exe");
  EXPECT_EQ(start.command_line, "scope /scope /qvib");
  EXPECT_EQ(start.current_folder, "C:\\scope\\bin");
  const auto& events = machine.journal().events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]["event"], "start");
  EXPECT_EQ(events[1].dump(), R"({"t":0,"event":"exit","code":0})");
}

TEST(SimSystem, RebootRequestsAreAcceptedOrRefusedPerMachine) {
  TestMachine test;
  EXPECT_TRUE(test.machine().platform().system.RequestReboot());
  std::string json = test.ReadHost("../../machine.json");
  json.replace(json.find("\"accepted\""), 10, "\"refused\"");
  test.WriteHost("../../machine.json", json);
  platform::System& system = test.Open().platform().system;
  EXPECT_FALSE(system.RequestReboot());
  EXPECT_EQ(system.LastError(), WinError::kPrivilegeNotHeld);
  EXPECT_EQ(test.machine().journal().events().back()["accepted"], false);
}

TEST(SimSystem, TheLoadersOwnNameLineAndMemory) {
  TestMachine test({.memory_mib = 64});
  platform::System& system = test.machine().platform().system;
  EXPECT_EQ(system.ModuleFileName(), "C:\\scope\\bin\\qv731Ldr.exe");
  EXPECT_EQ(system.CommandLine(), "");
  test.machine().system().SetCommandLine("/autostart /noram");
  EXPECT_EQ(system.CommandLine(), "/autostart /noram");
  EXPECT_EQ(system.PhysicalMemory(), 64u << 20);
  EXPECT_EQ(system.ErrorText(WinError::kAccessDenied), "Access is denied.\r\n");
  EXPECT_EQ(system.ErrorText(static_cast<WinError>(99999)), std::nullopt);
}

}  // namespace
}  // namespace qv::sim
