// The drive letters arq.exe gives folders, tested over the simulated file
// system standing in for the system's own.
#include "tools/arq/folder_drives.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::arq {
namespace {

using platform::WinError;

class FolderDrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_.WriteHost("tree/scope/cal.txt", "calibration");
    machine_.WriteHost("scratch/.keep", "");
    machine_.WriteHost("outside.txt", "not arq's");
    drives_.Map('C', "C:\\tree");
    drives_.Map('T', "c:/scratch/");
  }
  void Write(std::string_view path, std::string_view text) {
    auto stream = drives_.Open(path, "wb");
    ASSERT_TRUE(stream) << path;
    stream->Write(text);
  }

  sim::TestMachine machine_;
  FolderDrives drives_{machine_.files()};
};

TEST_F(FolderDrivesTest, PathsLeadIntoTheFolderAndNeverAboveIt) {
  EXPECT_EQ(drives_.CurrentDrive(), 'C');
  EXPECT_EQ(*drives_.FullPath("scope\\..\\a.txt"), "C:\\a.txt");
  Write("C:\\..\\..\\outside.txt", "mine");
  Write("/scope/new.txt", "new");
  EXPECT_EQ(machine_.ReadHost("tree/outside.txt"), "mine");
  EXPECT_EQ(machine_.ReadHost("outside.txt"), "not arq's");
  EXPECT_EQ(machine_.ReadHost("tree/scope/new.txt"), "new");
  Write("t:scratch.tmp", "scratch");
  EXPECT_EQ(machine_.ReadHost("scratch/scratch.tmp"), "scratch");

  const auto found = drives_.Find("C:\\scope\\*.*");
  ASSERT_TRUE(found);
  std::vector<std::string> names;
  for (const platform::FindData& entry : *found)
    names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "cal.txt", "new.txt"}));
  // A status names the drive the path was given on.
  EXPECT_EQ(drives_.Status("T:\\scratch.tmp")->drive, 'T' - 'A');
  EXPECT_EQ(drives_.Status("C:\\scope\\cal.txt")->size, 11u);
}

TEST_F(FolderDrivesTest, EachDriveKeepsItsOwnCurrentFolder) {
  ASSERT_TRUE(drives_.ChangeFolder("C:\\scope"));
  ASSERT_TRUE(drives_.ChangeDrive('t'));
  Write("here.txt", "on T:");
  Write("C:there.txt", "on C:");
  EXPECT_EQ(machine_.ReadHost("scratch/here.txt"), "on T:");
  EXPECT_EQ(machine_.ReadHost("tree/scope/there.txt"), "on C:");
  EXPECT_EQ(*drives_.CurrentFolder('C'), "C:\\scope");
  EXPECT_EQ(*drives_.CurrentFolder(0), "T:\\");
  // Naming a drive in the path makes it the current drive.
  ASSERT_TRUE(drives_.ChangeFolder("C:\\"));
  EXPECT_EQ(drives_.CurrentDrive(), 'C');

  // What is no folder is not made current.
  EXPECT_EQ(drives_.ChangeFolder("scope\\cal.txt").errno_value(), platform::Errno::kENOENT);
  EXPECT_EQ(drives_.ChangeFolder("missing").error(), WinError::kFileNotFound);
  EXPECT_EQ(*drives_.CurrentFolder('C'), "C:\\");
}

TEST_F(FolderDrivesTest, LettersWithoutAFolderAreNoDrives) {
  EXPECT_EQ(drives_.ChangeDrive('Q').error(), WinError::kInvalidDrive);
  EXPECT_EQ(drives_.Open("Q:\\x.txt", "w").error(), WinError::kPathNotFound);
  EXPECT_EQ(drives_.GetDriveType('Q'), platform::DriveType::kNoRootDir);
  EXPECT_FALSE(drives_.DriveReady('Q'));
  EXPECT_EQ(drives_.GetDriveType('T'), platform::DriveType::kFixed);
  EXPECT_TRUE(drives_.DriveReady('C'));
}

TEST_F(FolderDrivesTest, RenamesStayOnTheirDriveAndCurrentFoldersStay) {
  // Both letters are folders of one drive below, yet a rename between them
  // fails as it would between two drives.
  EXPECT_EQ(drives_.Rename("C:\\scope\\cal.txt", "T:\\cal.txt").error(), WinError::kNotSameDevice);
  EXPECT_EQ(drives_.Move("C:\\scope\\cal.txt", "T:\\cal.txt", true).error(),
            WinError::kNotSameDevice);
  ASSERT_TRUE(drives_.Rename("C:\\scope\\cal.txt", "C:\\cal.txt"));
  EXPECT_EQ(machine_.ReadHost("tree/cal.txt"), "calibration");
  ASSERT_TRUE(drives_.Copy("C:\\cal.txt", "T:\\copy.txt", true));
  EXPECT_EQ(machine_.ReadHost("scratch/copy.txt"), "calibration");

  ASSERT_TRUE(drives_.ChangeFolder("C:\\scope"));
  ASSERT_TRUE(drives_.ChangeDrive('T'));
  EXPECT_EQ(drives_.RemoveFolder("C:\\scope").error(), WinError::kCurrentDirectory);
  ASSERT_TRUE(drives_.ChangeFolder("C:\\"));
  EXPECT_TRUE(drives_.RemoveFolder("C:\\scope"));
}

// A disk's space is counted as on a floppy whatever the folder's own drive
// says: files in whole clusters, one cluster per folder.
TEST_F(FolderDrivesTest, ADiskIsRemovableWithItsOwnSpaceAndEmptyWithoutItsFolder) {
  machine_.WriteHost("disk1/a.bin", std::string(513, 'a'));
  machine_.WriteHost("disk1/sub/b.bin", "b");
  machine_.WriteHost("disk1/empty.txt", "");
  drives_.MapDisk('A', "C:\\disk1", 400'000);
  EXPECT_EQ(drives_.GetDriveType('A'), platform::DriveType::kRemovable);
  ASSERT_TRUE(drives_.DriveReady('A'));
  const auto space = drives_.GetDiskSpace('A');
  ASSERT_TRUE(space);
  EXPECT_EQ(space->ClusterBytes(), 512u);
  EXPECT_EQ(space->total_clusters, 400'000u / 512);
  EXPECT_EQ(space->free_clusters, 400'000u / 512 - (2 + 1 + 1));
  Write("A:\\new.bin", std::string(512, 'n'));
  EXPECT_EQ(drives_.GetDiskSpace('A')->free_clusters, 400'000u / 512 - 5);

  // Another disk in the drive: one whose folder is missing leaves it empty.
  drives_.MapDisk('A', "C:\\disk2", 400'000);
  EXPECT_FALSE(drives_.DriveReady('A'));
  EXPECT_EQ(drives_.GetDiskSpace('A').error(), WinError::kNotReady);
  EXPECT_EQ(drives_.GetDriveType('A'), platform::DriveType::kRemovable);
}

}  // namespace
}  // namespace qv::arq
