// The Files port on Windows (under Wine) against the simulated instrument's:
// the same walk through the port gives the same transcript on both.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/platform_wrapper.h"
#include "sim/test_machine.h"
#include "tests/wine/files_port_checks.h"
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

std::vector<std::string> SimulatorTranscript() {
  sim::TestMachine machine;
  SideNameFiles side_name(machine.machine().platform());
  return FilesPortChecks(machine.files(), side_name);
}

std::vector<std::string> WindowsTranscript() {
  arq_test::ArqFolder folder;
  const arq_test::ArqResult run = TheWinePrefix().Run(folder.path(), QV_WIN64_FILES_PORT_CHECK, "");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::vector<std::string> lines;
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(FilesPortUnderWine, WalksThePortAsTheSimulatorDoes) {
  if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  const std::vector<std::string> simulated = SimulatorTranscript();
  const std::vector<std::string> windows = WindowsTranscript();
  ASSERT_EQ(windows.size(), simulated.size()) << ::testing::PrintToString(windows);
  for (std::size_t i = 0; i < simulated.size(); ++i)
    EXPECT_EQ(windows[i], simulated[i]);
}

}  // namespace
}  // namespace qv::wine_test
