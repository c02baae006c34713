#include "sim/new_machine.h"

#include <gtest/gtest.h>

#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

TEST(NewMachine, TheDefaultInstrumentReadsBack) {
  TestMachine test;
  Machine& machine = test.machine();
  const MachineConfig& config = machine.config();
  EXPECT_EQ(config.board.model_register, 1);
  EXPECT_EQ(config.memory_bytes, 33554432u);
  EXPECT_EQ(config.display_bits, 24);
  EXPECT_TRUE(config.document.contains("desktop"));
  platform::Files& files = machine.files();
  std::vector<std::string> folders;
  const auto found = files.Find("C:\\scope\\*");
  for (const auto& entry : *found)
    folders.push_back(entry.name);
  EXPECT_EQ(folders, (std::vector<std::string>{".", "..", "bin", "cal", "data", "masks", "memories",
                                               "old_rev", "probes", "selftest", "setups", "temp",
                                               "upgrade"}));
  for (const char* program : {"qv7311x.exe", "qv7314x.exe", "preldr.exe", "qv731Ldr.exe"}) {
    EXPECT_TRUE(
        files.Access(std::string("C:\\scope\\bin\\") + program, platform::AccessCheck::kExists))
        << program;
  }
  EXPECT_TRUE(files.ChangeFolder("C:\\windows\\temp"));
  EXPECT_FALSE(files.DriveReady('A'));
  EXPECT_EQ(machine.platform().registry.OpenKey("SOFTWARE").error(),
            platform::WinError::kFileNotFound);
}

TEST(NewMachine, OptionsChooseModelMemoryAndFloppy) {
  TestMachine test({.model_code = 6, .memory_mib = 64, .floppy = true});
  EXPECT_EQ(test.machine().config().board.model_register, 6);
  EXPECT_EQ(test.machine().config().memory_bytes, 64u << 20);
  EXPECT_TRUE(test.files().DriveReady('A'));
}

TEST(NewMachine, RefusesAFolderThatHoldsSomethingAndLeavesItAlone) {
  TestMachine test;
  EXPECT_THROW(WriteNewMachine(test.folder(), {}), MachineError);
  EXPECT_THROW(WriteNewMachine(test.folder() / "machine.json", {}), MachineError);
  EXPECT_THROW(WriteNewMachine(test.folder() / "new", {.model_code = 8}), MachineError);
  EXPECT_FALSE(std::filesystem::exists(test.folder() / "new"));
  // Nothing is left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(test.folder().parent_path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace qv::sim
