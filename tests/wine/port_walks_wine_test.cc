// The ports on Windows (under Wine) against the simulated instrument's: the
// same walk through a port prints the same lines on both, but for the
// differences listed here with their reasons.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "platform/platform_wrapper.h"
#include "sim/test_machine.h"
#include "tests/wine/files_port_checks.h"
#include "tests/wine/system_port_checks.h"
#include "tests/wine/wine_prefix.h"
#include "win32/side_name_replace.h"

namespace qv::wine_test {
namespace {

// The simulated file system replacing through side names, as Windows 98.
class SideNameFiles : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  platform::Outcome Move(std::string_view from, std::string_view to,
                         bool replace_existing) override {
    if (!replace_existing) return inner().files.Move(from, to, false);
    return win32::ReplaceThroughSideName(inner().files, from, to);
  }
};

// The lines a Windows program printed under Wine, run in a folder of its own.
std::vector<std::string> UnderWine(const char* program, const std::string& arguments) {
  arq_test::ArqFolder folder;
  const arq_test::ArqResult run = TheWinePrefix().Run(folder.path(), program, arguments);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::vector<std::string> lines;
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Where Wine answers otherwise than the instrument's system: the simulator's
// line and Wine's.
const std::map<std::string, std::string> kWineDiffers = {
    // Wine reads a string stored without its zero back with one added.
    {R"(query Bare into 64 bytes: type 1 "wait")",
     R"(query Bare into 64 bytes: type 1 "wait\x00")"},
    // Wine's system messages are its own texts.
    {R"(text of 2: "The system cannot find the file specified.\r\n")",
     R"(text of 2: "File not found.\r\n")"},
    {R"(text of 5: "Access is denied.\r\n")", R"(text of 5: "Access denied.\r\n")"},
    {R"(text of 183: "Cannot create a file when that file already exists.\r\n")",
     R"(text of 183: "File already exists.\r\n")"},
};

void ExpectSameWalk(const std::vector<std::string>& windows,
                    const std::vector<std::string>& simulated) {
  ASSERT_EQ(windows.size(), simulated.size()) << ::testing::PrintToString(windows);
  for (std::size_t i = 0; i < simulated.size(); ++i) {
    const auto differs = kWineDiffers.find(simulated[i]);
    if (differs != kWineDiffers.end() && windows[i] == differs->second) continue;
    EXPECT_EQ(windows[i], simulated[i]);
  }
}

class PortWalkUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  }
};

TEST_F(PortWalkUnderWine, FilesAsOnTheSimulator) {
  sim::TestMachine machine;
  SideNameFiles side_name(machine.machine().platform());
  ExpectSameWalk(UnderWine(QV_WIN64_FILES_PORT_CHECK, ""),
                 FilesPortChecks(machine.files(), side_name));
}

TEST_F(PortWalkUnderWine, RegistryAndSystemAsOnTheSimulator) {
  sim::TestMachine machine;
  machine.machine().system().SetCommandLine("/autostart /usb");
  const platform::Platform ports = machine.machine().platform();
  ExpectSameWalk(UnderWine(QV_WIN64_SYSTEM_PORT_CHECK, "/autostart /usb"),
                 SystemPortChecks(ports.registry, ports.system));
}

// Away from the instrument the Board port answers with errors, never a
// crash: no driver (Wine refuses a VxD name as a bad parameter), nothing
// mapped at a low address, and port I/O forbidden by Windows NT.
TEST_F(PortWalkUnderWine, BoardAwayFromTheInstrumentFailsClearly) {
  EXPECT_EQ(UnderWine(QV_WIN64_BOARD_PORT_CHECK, ""),
            (std::vector<std::string>{"request: opened 0, succeeded 0, error 87",
                                      "memory at 0x10: nothing", "port 0x3c5: 0xFF, error 1314",
                                      "port 0x3c4 written: error 1314"}));
}

}  // namespace
}  // namespace qv::wine_test
