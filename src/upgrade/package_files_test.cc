#include "upgrade/package_files.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "sim/test_machine.h"
#include "upgrade/file_copies.h"
#include "upgrade/instrument_folders.h"

namespace qv::upgrade {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMarker = "scope/upgrade/scope/temp/qv731upg.fld";

class PackageFilesTest : public ::testing::Test {
 protected:
  PackageFilesTest() {
    files_.ChangeDrive('C');
    CreateInstrumentFolders(files_);
  }

  void MakeReadOnly(const char* relative) {
    fs::permissions(machine_.Host(relative), fs::perms::owner_write, fs::perm_options::remove);
  }

  sim::TestMachine machine_;
  platform::Files& files_ = machine_.files();
};

TEST_F(PackageFilesTest, TheFailureMarkerCountsAttemptsAndTheSavedBackup) {
  EXPECT_FALSE(ReadFailureMarker(files_));
  ASSERT_TRUE(CreateFailureMarker(files_));
  ASSERT_TRUE(NoteBackupSaved(files_));
  ASSERT_TRUE(CreateFailureMarker(files_));
  EXPECT_EQ(machine_.ReadHost(kMarker), "1B2");
  const std::optional<FailureMarker> marker = ReadFailureMarker(files_);
  ASSERT_TRUE(marker);
  EXPECT_EQ(marker->attempts, 2);
  EXPECT_TRUE(marker->backup_saved);

  // An empty marker, as an older loader left it, stands for one attempt.
  machine_.WriteHost(kMarker, "");
  EXPECT_EQ(ReadFailureMarker(files_)->attempts, 1);
  EXPECT_FALSE(ReadFailureMarker(files_)->backup_saved);
  ASSERT_TRUE(CreateFailureMarker(files_));
  EXPECT_EQ(machine_.ReadHost(kMarker), "2");
}

TEST_F(PackageFilesTest, AReadOnlyMarkerIsCountedOnAndRemoved) {
  machine_.WriteHost(kMarker, "1");
  MakeReadOnly(kMarker);
  ASSERT_TRUE(CreateFailureMarker(files_));
  EXPECT_EQ(machine_.ReadHost(kMarker), "12");
  MakeReadOnly(kMarker);
  EXPECT_TRUE(RemoveFailureMarker(files_));
  EXPECT_FALSE(fs::exists(machine_.Host(kMarker)));
}

TEST_F(PackageFilesTest, ASavedCopyIsWholeAndKeptWhenAsked) {
  machine_.WriteHost("scope/cal/gain.cal", "the owner's gain");
  machine_.WriteHost("scope/old_rev/scope/cal/gain.cal", "saved earlier");
  MakeReadOnly("scope/old_rev/scope/cal/gain.cal");
  EXPECT_TRUE(SaveCopy(files_, "c:\\scope\\cal\\gain.cal",
                       "c:\\scope\\old_rev\\scope\\cal\\gain.cal",
                       /*keep_existing=*/true));
  EXPECT_EQ(machine_.ReadHost("scope/old_rev/scope/cal/gain.cal"), "saved earlier");
  EXPECT_TRUE(SaveCopy(files_, "c:\\scope\\cal\\gain.cal",
                       "c:\\scope\\old_rev\\scope\\cal\\gain.cal",
                       /*keep_existing=*/false));
  EXPECT_EQ(machine_.ReadHost("scope/old_rev/scope/cal/gain.cal"), "the owner's gain");
  EXPECT_FALSE(fs::exists(machine_.Host("scope/old_rev/scope/cal/qvsaving.tmp")));
}

TEST_F(PackageFilesTest, ARetriedHandOverKeepsTheSavedPreloader) {
  machine_.WriteHost("scope/bin/preldr.exe", "old pre-loader");
  machine_.WriteHost("scope/bin/qv731Ldr.exe", "old loader");
  machine_.WriteHost("scope/upgrade/scope/bin/preldr.exe", "new pre-loader");
  ASSERT_EQ(PreloaderHandOver(files_, /*retry=*/false), HandOver::kStartPreloader);
  // Cut short after that; the retry expands the package again.
  machine_.WriteHost("scope/upgrade/scope/bin/preldr.exe", "new pre-loader");
  ASSERT_EQ(PreloaderHandOver(files_, /*retry=*/true), HandOver::kStartPreloader);
  EXPECT_EQ(machine_.ReadHost("scope/old_rev/scope/bin/preldr.exe"), "old pre-loader");
  EXPECT_EQ(machine_.ReadHost("scope/old_rev/scope/bin/qv731Ldr.exe"), "old loader");
  EXPECT_EQ(machine_.ReadHost("scope/bin/preldr.exe"), "new pre-loader");
}

}  // namespace
}  // namespace qv::upgrade
