// The replace through a side name, over the simulated file system: a power
// cut after any of its writes and a failure of any of its calls leave, once
// repaired, either the old file in place (with the new one beside it) or
// the new file alone, and never a target that is gone.
#include "win32/side_name_replace.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fault_injector.h"
#include "sim/test_machine.h"

namespace qv::win32 {
namespace {

using platform::FaultInjector;
using Folder = std::map<std::string, std::string>;

constexpr const char* kNew = "C:\\scope\\new.tmp";
constexpr const char* kTarget = "C:\\scope\\qv731Ldr.exe";

// A machine with the new file beside the old one.
struct Replacing {
  Replacing() {
    machine.WriteHost("scope/new.tmp", "new");
    machine.WriteHost("scope/qv731Ldr.exe", "old");
  }
  // The files of the folder and their contents.
  Folder Files() const {
    Folder files;
    for (const auto& entry : std::filesystem::directory_iterator(machine.Host("scope"))) {
      const std::string name = entry.path().filename().string();
      if (entry.is_regular_file()) files[name] = machine.ReadHost("scope/" + name);
    }
    return files;
  }
  // The two whole states a replace may leave, checked after a repair by a
  // new process.
  void ExpectWholeAfterRepair() {
    ASSERT_TRUE(RepairSideName(machine.Open().files(), kTarget));
    const Folder before{{"new.tmp", "new"}, {"qv731Ldr.exe", "old"}};
    const Folder after{{"qv731Ldr.exe", "new"}};
    const Folder files = Files();
    EXPECT_TRUE(files == before || files == after) << ::testing::PrintToString(files);
  }

  sim::TestMachine machine;
};

TEST(SideNameReplace, ReplacesAndLeavesNothingBeside) {
  Replacing replacing;
  ASSERT_TRUE(ReplaceThroughSideName(replacing.machine.files(), kNew, kTarget));
  EXPECT_EQ(replacing.Files(), (Folder{{"qv731Ldr.exe", "new"}}));
  // Without a file to replace it is a rename.
  replacing.machine.WriteHost("scope/b.tmp", "b");
  ASSERT_TRUE(
      ReplaceThroughSideName(replacing.machine.files(), "C:\\scope\\b.tmp", "C:\\scope\\b.dll"));
  EXPECT_EQ(replacing.machine.ReadHost("scope/b.dll"), "b");
}

TEST(SideNameReplace, RefusesAReadOnlyTargetAndAMissingFileAsTheSystemDoes) {
  Replacing replacing;
  platform::Files& files = replacing.machine.files();
  ASSERT_TRUE(files.SetWritable(kTarget, false));
  EXPECT_EQ(ReplaceThroughSideName(files, kNew, kTarget).error(),
            platform::WinError::kAccessDenied);
  EXPECT_EQ(ReplaceThroughSideName(files, "C:\\scope\\none", kTarget).error(),
            platform::WinError::kFileNotFound);
  EXPECT_EQ(replacing.Files(), (Folder{{"new.tmp", "new"}, {"qv731Ldr.exe", "old"}}));
}

TEST(SideNameReplace, APowerCutAfterAnyWriteIsRepaired) {
  for (int write = 1;; ++write) {
    SCOPED_TRACE("power cut after write " + std::to_string(write));
    Replacing replacing;
    FaultInjector injector(replacing.machine.machine().platform());
    injector.CutPowerAfterWrite(write);
    bool cut = false;
    try {
      ReplaceThroughSideName(injector.platform().files, kNew, kTarget);
    } catch (const platform::PowerCut&) {
      cut = true;
    }
    replacing.ExpectWholeAfterRepair();
    if (!cut) {
      RecordProperty("writes", write - 1);
      break;
    }
  }
}

TEST(SideNameReplace, AFailureOfAnyCallIsRepaired) {
  // Every call of the replace, each failing once, until one passes them all.
  for (int nth = 1;; ++nth) {
    SCOPED_TRACE("call " + std::to_string(nth) + " fails");
    Replacing replacing;
    FaultInjector injector(replacing.machine.machine().platform());
    injector.FailNthCall(nth);
    const platform::Outcome replaced =
        ReplaceThroughSideName(injector.platform().files, kNew, kTarget);
    replacing.ExpectWholeAfterRepair();
    if (replaced) {
      EXPECT_EQ(replacing.Files(), (Folder{{"qv731Ldr.exe", "new"}}));
    }
    if (injector.TotalCallCount() < nth) {
      RecordProperty("calls", nth - 1);
      break;
    }
  }
}

}  // namespace
}  // namespace qv::win32
