#include "instrument/marker_files.h"

#include <gtest/gtest.h>

#include "platform/fault_injector.h"
#include "sim/test_machine.h"

namespace qv::instrument {
namespace {

namespace fs = std::filesystem;

// The machine's ports with the status lines noted as "(x, y) text".
class DrawRecorder : public platform::FaultInjector {
 public:
  using FaultInjector::FaultInjector;

  void DrawClientText(platform::WindowHandle /*window*/, int x, int y,
                      std::string_view text) override {
    draws.push_back("(" + std::to_string(x) + ", " + std::to_string(y) + ") " + std::string(text));
  }

  std::vector<std::string> draws;
};

// A marker of the size with the two bytes at offset 10.
std::string Marker(std::size_t size, std::uint8_t low, std::uint8_t high) {
  std::string bytes(size, 'm');
  if (size > 11) {
    bytes[10] = static_cast<char>(low);
    bytes[11] = static_cast<char>(high);
  }
  return bytes;
}

class MarkerFilesTest : public ::testing::Test {
 protected:
  explicit MarkerFilesTest(bool floppy = true) : test_({.floppy = floppy}) {}

  bool ServiceMarker() {
    return FloppyMarkerValid(ports_.platform().files, helpers_, kServiceMarker);
  }
  platform::Files& files() { return ports_.platform().files; }
  std::vector<std::string>& draws() { return ports_.draws; }

  sim::TestMachine test_;
  DrawRecorder ports_{test_.machine().platform()};
  app::MainWindow window_;
  app::UserHelpers helpers_{ports_.platform(), window_};
};

TEST_F(MarkerFilesTest, ASizeEqualToTheLengthFieldIsValid) {
  test_.WriteHost("qv731xx.svc", Marker(300, 0x2C, 0x01), 'A');
  EXPECT_TRUE(ServiceMarker());
  test_.WriteHost("qv731xx.svc", Marker(12, 12, 0), 'A');
  EXPECT_TRUE(ServiceMarker());
  EXPECT_TRUE(draws().empty());
  EXPECT_EQ(files().CurrentDrive(), 'C');
}

TEST_F(MarkerFilesTest, AnyOtherLengthIsNoMarker) {
  for (const std::string& marker : {Marker(300, 0x01, 0x2C), Marker(11, 0, 0),
                                    Marker(300 + 65536, 0x2C, 0x01), std::string()}) {
    test_.WriteHost("qv731xx.svc", marker, 'A');
    draws().clear();
    EXPECT_FALSE(ServiceMarker()) << marker.size();
    EXPECT_EQ(draws(), std::vector<std::string>{"(10, 10) Length Failed\n"}) << marker.size();
  }
  EXPECT_EQ(files().CurrentDrive(), 'C');
}

TEST_F(MarkerFilesTest, AMissingOrUnreadableMarkerSaysWhy) {
  EXPECT_FALSE(ServiceMarker());
  test_.WriteHost("qv731xx.svc", Marker(300, 0x2C, 0x01), 'A');
  ports_.FailCall(platform::Call::kOpen, 1);
  EXPECT_FALSE(ServiceMarker());
  EXPECT_EQ(draws(),
            (std::vector<std::string>{"(10, 10) findfirst failed\n", "(10, 10) fopen failed\n"}));
  EXPECT_EQ(files().CurrentDrive(), 'C');
}

TEST_F(MarkerFilesTest, TheMarkerIsLookedForInTheCurrentFolderOfA) {
  test_.WriteHost("sub/qv731xx.int", Marker(300, 0x2C, 0x01), 'A');
  EXPECT_FALSE(FloppyMarkerValid(files(), helpers_, kInternalMarker));
  ASSERT_TRUE(files().ChangeFolder("a:\\sub"));
  ASSERT_TRUE(files().ChangeDrive('C'));
  EXPECT_TRUE(FloppyMarkerValid(files(), helpers_, kInternalMarker));
}

class NoFloppyTest : public MarkerFilesTest {
 protected:
  NoFloppyTest() : MarkerFilesTest(/*floppy=*/false) {}
};

TEST_F(NoFloppyTest, WithoutADiskAMarkerOnTheCurrentDriveIsNotTaken) {
  test_.WriteHost("qv731xx.svc", Marker(300, 0x2C, 0x01));
  ASSERT_TRUE(files().ChangeFolder("c:\\"));
  EXPECT_FALSE(ServiceMarker());
  EXPECT_EQ(draws(), std::vector<std::string>{"(10, 10) findfirst failed\n"});
  EXPECT_EQ(files().CurrentDrive(), 'C');
}

TEST_F(MarkerFilesTest, ThePrinterMarkerIsFoundOnCAndDeletedEvenReadOnly) {
  ASSERT_TRUE(files().ChangeDrive('A'));
  EXPECT_FALSE(PrinterMarkerExists(files(), helpers_));
  EXPECT_EQ(draws(), std::vector<std::string>{"(10, 10) findfirst failed\n"});
  test_.WriteHost("scope/bin/addpntr.txt", "");
  ASSERT_TRUE(files().SetWritable("c:\\scope\\bin\\addpntr.txt", false));
  EXPECT_TRUE(PrinterMarkerExists(files(), helpers_));
  EXPECT_TRUE(TakePrinterMarker(files(), helpers_));
  EXPECT_FALSE(fs::exists(test_.Host("scope/bin/addpntr.txt")));
  EXPECT_EQ(files().CurrentDrive(), 'A');
}

TEST_F(MarkerFilesTest, APrinterMarkerThatCannotBeDeletedSaysWhyAndIsNotTaken) {
  test_.WriteHost("scope/bin/addpntr.txt", "");
  ports_.FailCall(platform::Call::kRemove, 1, platform::WinError::kSharingViolation);
  EXPECT_FALSE(TakePrinterMarker(files(), helpers_));
  EXPECT_TRUE(fs::exists(test_.Host("scope/bin/addpntr.txt")));
  EXPECT_EQ(test_.BoxTexts(), std::vector<std::string>{"The process cannot access the file "
                                                       "because it is being used by another "
                                                       "process.\r\n"});
  EXPECT_EQ(files().CurrentDrive(), 'C');
}

}  // namespace
}  // namespace qv::instrument
