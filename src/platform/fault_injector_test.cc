#include "platform/fault_injector.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::platform {
namespace {

class FaultInjectorTest : public ::testing::Test {
 protected:
  sim::TestMachine machine_;
  FaultInjector faults_{machine_.machine().platform()};
  Files& files_ = faults_;
};

TEST_F(FaultInjectorTest, FailsTheNthCallOnce) {
  machine_.WriteHost("a", "1");
  machine_.WriteHost("b", "2");
  machine_.WriteHost("c", "3");
  faults_.FailCall(Call::kRemove, 2, WinError::kSharingViolation);
  EXPECT_TRUE(files_.Remove("C:\\a"));
  const Outcome second = files_.Remove("C:\\b");
  EXPECT_EQ(second.error(), WinError::kSharingViolation);
  EXPECT_EQ(second.errno_value(), Errno::kEACCES);
  EXPECT_EQ(faults_.LastError(), WinError::kSharingViolation);
  EXPECT_TRUE(std::filesystem::exists(machine_.Host("b")));  // nothing happened
  EXPECT_TRUE(files_.Remove("C:\\c"));
  EXPECT_EQ(faults_.CallCount(Call::kRemove), 3);
}

TEST_F(FaultInjectorTest, FailsFromTheNthCallOn) {
  faults_.FailCall(Call::kMakeFolder, 2, WinError::kDiskFull, /*from_then_on=*/true);
  EXPECT_TRUE(files_.MakeFolder("C:\\one"));
  EXPECT_EQ(files_.MakeFolder("C:\\two").error(), WinError::kDiskFull);
  EXPECT_EQ(files_.MakeFolder("C:\\three").error(), WinError::kDiskFull);
}

TEST_F(FaultInjectorTest, FailsStreamTransfersOfStreamsItOpened) {
  machine_.WriteHost("log.txt", "abc");
  faults_.FailCall(Call::kRead, 1);
  Result<Stream> stream = files_.Open("C:\\log.txt", "rb");
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->GetChar(), Stream::kEof);
  EXPECT_TRUE(stream->HasError());
  EXPECT_EQ(stream->GetChar(), 'a');
}

TEST_F(FaultInjectorTest, FailsWindowCreationAndDisplayChanges) {
  Desktop& desktop = faults_;
  faults_.FailCall(Call::kCreateDialog, 1, WinError::kNotEnoughMemory);
  faults_.FailCall(Call::kChangeDisplay, 1);
  EXPECT_FALSE(desktop.CreateModelessDialog(kStatusBoxTemplate, {}));
  EXPECT_EQ(faults_.LastError(), WinError::kNotEnoughMemory);
  EXPECT_TRUE(desktop.CreateModelessDialog(kStatusBoxTemplate, {}));
  EXPECT_EQ(desktop.ChangeDisplayBits(24, true), kDisplayChangeFailed);
  EXPECT_EQ(machine_.machine().desktop().display().stored_bits, std::nullopt);
  faults_.FailCall(Call::kCreateMainWindow, 1);
  EXPECT_FALSE(desktop.CreateMainWindow({}));
}

TEST_F(FaultInjectorTest, PowerCutLeavesWhatWasWrittenBeforeIt) {
  // Writes: the open for "w", then one per stream write, then the rename.
  faults_.CutPowerAfterWrite(3);
  const sim::RunEnd end = sim::RunProcess([&] {
    Result<Stream> log = files_.Open("C:\\scope\\bin\\upgrade.log", "w");
    log->Write("first\n");
    log->Write("second\n");
    log->Write("third\n");
    files_.Rename("C:\\scope\\bin\\upgrade.log", "C:\\scope\\bin\\done.log");
  });
  EXPECT_EQ(end.way, sim::RunEnd::Way::kPowerCut);
  EXPECT_TRUE(faults_.PowerLost());
  // Nothing takes effect after the cut.
  EXPECT_EQ(files_.MakeFolder("C:\\late").error(), WinError::kNotReady);
  machine_.Open();
  EXPECT_EQ(machine_.ReadHost("scope/bin/upgrade.log"), "first\r\nsecond\r\n");
  EXPECT_FALSE(std::filesystem::exists(machine_.Host("late")));
}

TEST_F(FaultInjectorTest, RegistryWritesCountTowardsThePowerCut) {
  faults_.CutPowerAfterWrite(2);
  const sim::RunEnd end = sim::RunProcess([&] {
    faults_.CreateKey("SOFTWARE\\Test");
    faults_.SetValue("SOFTWARE\\Test", "One", RegistryValue::Dword(1));
    faults_.SetValue("SOFTWARE\\Test", "Two", RegistryValue::Dword(2));
  });
  EXPECT_EQ(end.way, sim::RunEnd::Way::kPowerCut);
  Registry& registry = machine_.Open().platform().registry;
  EXPECT_TRUE(registry.QueryValue("SOFTWARE\\Test", "One", 4));
  EXPECT_EQ(registry.QueryValue("SOFTWARE\\Test", "Two", 4).error(), WinError::kFileNotFound);
}

// A test overrides one operation and leaves the rest to the machine.
class NoPrinterWizard : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  bool LaunchPrinterWizard() override {
    ++launches;
    return false;
  }
  int launches = 0;
};

TEST(PlatformWrapper, OverridesOneOperationAndForwardsTheOthers) {
  sim::TestMachine machine;
  NoPrinterWizard wrapper(machine.machine().platform());
  Platform platform = wrapper.platform();
  EXPECT_FALSE(platform.board.LaunchPrinterWizard());
  EXPECT_EQ(wrapper.launches, 1);
  EXPECT_TRUE(platform.files.MakeFolder("C:\\scope\\extra"));
  EXPECT_TRUE(std::filesystem::is_directory(machine.Host("scope/extra")));
  EXPECT_EQ(platform.system.PhysicalMemory(), 32u << 20);
  EXPECT_EQ(platform.desktop.NumColors(), -1);  // the 24-bit display
}

TEST_F(FaultInjectorTest, ACutTearsALongWriteAndACopyBetweenClusters) {
  const std::string old_bytes(3 * kClusterBytes, 'o');
  const std::string new_bytes(2 * kClusterBytes + 100, 'n');
  machine_.WriteHost("source.bin", new_bytes);
  // A copy is one write per cluster, and so is a stream write.
  for (std::size_t cluster = 1; cluster <= 3; ++cluster) {
    sim::TestMachine machine;
    machine.WriteHost("source.bin", new_bytes);
    machine.WriteHost("copy.bin", old_bytes);
    machine.WriteHost("stream.bin", old_bytes);
    FaultInjector faults(machine.machine().platform());
    faults.CutPowerAfterWrite(static_cast<int>(cluster));
    sim::RunProcess([&] { faults.Copy("C:\\source.bin", "C:\\copy.bin", false); });
    EXPECT_EQ(machine.ReadHost("copy.bin"), new_bytes.substr(0, cluster * kClusterBytes)) << cluster;

    FaultInjector overwrite(machine.Open().platform());
    overwrite.CutPowerAfterWrite(static_cast<int>(cluster));  // opening with "r+" writes nothing
    sim::RunProcess([&] {
      Result<Stream> stream = overwrite.Open("C:\\stream.bin", "r+b");
      stream->Write(new_bytes);
    });
    // In place: the old length, new bytes up to the cut.
    const std::size_t torn = std::min(cluster * kClusterBytes, new_bytes.size());
    EXPECT_EQ(machine.ReadHost("stream.bin"), new_bytes.substr(0, torn) + old_bytes.substr(torn))
        << cluster;
  }
}

TEST_F(FaultInjectorTest, FailsTheNthCallOfAnyKind) {
  faults_.FailNthCall(3, WinError::kDiskFull);
  EXPECT_TRUE(files_.MakeFolder("C:\\one"));
  EXPECT_TRUE(files_.ChangeFolder("C:\\one"));
  EXPECT_EQ(files_.MakeFolder("C:\\two").error(), WinError::kDiskFull);
  EXPECT_TRUE(files_.MakeFolder("C:\\three"));
  EXPECT_EQ(faults_.TotalCallCount(), 4);
}

}  // namespace
}  // namespace qv::platform
