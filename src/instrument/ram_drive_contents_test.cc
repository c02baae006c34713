#include "instrument/ram_drive_contents.h"

#include <gtest/gtest.h>

#include "platform/fault_injector.h"
#include "sim/test_machine.h"

namespace qv::instrument {
namespace {

namespace fs = std::filesystem;

// The machine's ports with the error boxes noted instead of shown, and a
// drive type the test may change.
class BoxRecorder : public platform::FaultInjector {
 public:
  using FaultInjector::FaultInjector;

  platform::BoxAnswer ShowMessageBox(platform::BoxKind kind, std::string_view text) override {
    if (kind == platform::BoxKind::kError) error_boxes.emplace_back(text);
    return platform::BoxAnswer::kOk;
  }
  platform::DriveType GetDriveType(char drive) override {
    return drive == 'D' && d_type ? *d_type : FaultInjector::GetDriveType(drive);
  }

  std::vector<std::string> error_boxes;
  std::optional<platform::DriveType> d_type;
};

// The machine started with its RAM drive.
sim::Machine& WithRamDrive(sim::TestMachine& test) {
  test.WriteHost("config.sys",
                 "device=c:\\windows\\himem.sys\r\n"
                 "device=c:\\windows\\ramdrive.sys 16384 /E\r\n");
  sim::Machine& machine = test.Open();
  machine.PowerOn();
  return machine;
}

class RamDriveContentsTest : public ::testing::Test {
 protected:
  platform::Files& files() { return ports_.platform().files; }
  void Empty() { EmptyRamDriveFolder(files(), helpers_, kRamDriveRoot); }
  bool OnD(std::string_view relative) const { return fs::exists(test_.Host(relative, 'D')); }

  sim::TestMachine test_{{.memory_mib = 64}};
  BoxRecorder ports_{WithRamDrive(test_).platform()};
  app::MainWindow window_;
  app::UserHelpers helpers_{ports_.platform(), window_};
};

TEST_F(RamDriveContentsTest, EmptiesEveryLevelAndKeepsTheCurrentFolder) {
  test_.WriteHost("a.dll", "a", 'D');
  test_.WriteHost("ro.exe", "ro", 'D');
  ASSERT_TRUE(files().SetWritable("d:\\ro.exe", false));
  test_.WriteHost("sub/b.txt", "b", 'D');
  test_.WriteHost("sub/deeper/c.txt", "c", 'D');
  ASSERT_TRUE(files().SetWritable("d:\\sub\\deeper\\c.txt", false));
  test_.WriteHost("sub/empty/.keep", "", 'D');
  fs::remove(test_.Host("sub/empty/.keep", 'D'));
  ASSERT_TRUE(files().ChangeFolder("c:\\scope\\data"));

  Empty();

  EXPECT_TRUE(fs::is_empty(test_.Host("", 'D')));
  EXPECT_EQ(files().CurrentDrive(), 'C');
  EXPECT_EQ(*files().CurrentFolder(0), "C:\\scope\\data");
  EXPECT_TRUE(ports_.error_boxes.empty());
}

TEST_F(RamDriveContentsTest, AFolderThatStaysShowsTheSystemsTextAndTheRestGoes) {
  test_.WriteHost("first/x.txt", "x", 'D');
  test_.WriteHost("second/y.txt", "y", 'D');
  ports_.FailCall(platform::Call::kRemoveFolder, 1);
  Empty();
  EXPECT_EQ(ports_.error_boxes, std::vector<std::string>{"Access is denied.\r\n"});
  EXPECT_TRUE(OnD("first"));
  EXPECT_FALSE(OnD("first/x.txt"));
  EXPECT_FALSE(OnD("second"));
}

TEST_F(RamDriveContentsTest, ADriveThatIsNoRamDriveIsLeftAlone) {
  test_.WriteHost("precious.txt", "p", 'D');
  ports_.d_type = platform::DriveType::kFixed;
  Empty();
  EXPECT_TRUE(OnD("precious.txt"));
}

TEST_F(RamDriveContentsTest, LibrariesReplaceOlderCopiesAndBinStaysCurrent) {
  test_.WriteHost("scope/bin/one.dll", "new one");
  test_.WriteHost("scope/bin/two.DLL", "new two");
  test_.WriteHost("scope/bin/notes.txt", "not a library");
  test_.WriteHost("one.dll", "old one", 'D');
  EXPECT_EQ(CopyLibrariesToRamDrive(files()), LibraryCopy::kCopied);
  EXPECT_EQ(test_.ReadHost("one.dll", 'D'), "new one");
  EXPECT_EQ(test_.ReadHost("two.DLL", 'D'), "new two");
  EXPECT_FALSE(OnD("notes.txt"));
  EXPECT_EQ(*files().CurrentFolder(0), "C:\\scope\\bin");
}

TEST_F(RamDriveContentsTest, NoLibrariesOrNoRamDrive) {
  EXPECT_EQ(CopyLibrariesToRamDrive(files()), LibraryCopy::kNoLibraries);
  test_.WriteHost("scope/bin/one.dll", "one");
  fs::remove(test_.Host("config.sys"));
  test_.Open().PowerOn();
  BoxRecorder without_d(test_.machine().platform());
  EXPECT_EQ(CopyLibrariesToRamDrive(without_d.platform().files), LibraryCopy::kNoRamDrive);
}

}  // namespace
}  // namespace qv::instrument
