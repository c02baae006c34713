#include "instrument/config_sys.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::instrument {
namespace {

// The lines as text mode leaves them on disk.
const std::string kHimem = "device=c:\\windows\\himem.sys\r\n";
const std::string kRamDrive = "device=c:\\windows\\ramdrive.sys 16384 /E\r\n";

class ConfigSysTest : public ::testing::Test {
 protected:
  void Write(const std::string& bytes) { test_.WriteHost("config.sys", bytes); }
  std::string Read() const { return test_.ReadHost("config.sys"); }
  bool AppendLines() { return SetUpRamDriveLines(test_.files()); }

  sim::TestMachine test_;
};

TEST_F(ConfigSysTest, BothLinesAnywhereInAnyOrderAreLeftAlone) {
  for (const std::string& config :
       {kHimem + kRamDrive, "files=30\r\n" + kRamDrive + "buffers=20\r\n" + kHimem + "rem\r\n"}) {
    Write(config);
    EXPECT_FALSE(AppendLines()) << config;
    EXPECT_EQ(Read(), config);
  }
}

TEST_F(ConfigSysTest, AppendsWhatIsMissingAfterWhatStandsThere) {
  const struct {
    std::string before, after;
  } cases[] = {
      {"", kHimem + kRamDrive},
      {kRamDrive, kRamDrive + kHimem},  // the order in the file is not corrected
      {"files=30\r\n" + kHimem, "files=30\r\n" + kHimem + kRamDrive},
      // Comparison is exact and with case.
      {"DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n",
       "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n" + kHimem + kRamDrive},
      {"device=c:\\windows\\himem.sys \r\n",
       "device=c:\\windows\\himem.sys \r\n" + kHimem + kRamDrive},
  };
  for (const auto& [before, after] : cases) {
    Write(before);
    EXPECT_TRUE(AppendLines()) << before;
    EXPECT_EQ(Read(), after) << before;
    EXPECT_FALSE(AppendLines()) << "a second boot has both lines: " << before;
  }
}

TEST_F(ConfigSysTest, AMissingFileIsMadeWithBothLines) {
  std::filesystem::remove(test_.Host("config.sys"));
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), kHimem + kRamDrive);
}

TEST_F(ConfigSysTest, RepeatedLinesNeverAskForARebootOnceBothAreThere) {
  // Counted by weight these would score 4, 5 and 6.
  for (const std::string& config : {kHimem + kHimem + kRamDrive, kRamDrive + kHimem + kRamDrive,
                                    kRamDrive + kRamDrive + kHimem + kHimem}) {
    Write(config);
    EXPECT_FALSE(AppendLines()) << config;
    EXPECT_EQ(Read(), config);
  }
  // Three himem lines would score 3 without any RAM drive.
  Write(kHimem + kHimem + kHimem);
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), kHimem + kHimem + kHimem + kRamDrive);
  Write(kRamDrive + kRamDrive);
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), kRamDrive + kRamDrive + kHimem);
}

TEST_F(ConfigSysTest, ALastLineWithoutLineFeedDoesNotCountAndIsNotJoined) {
  Write("files=30");
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), "files=30\r\n" + kHimem + kRamDrive);

  Write(kRamDrive + "device=c:\\windows\\himem.sys");
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), kRamDrive + "device=c:\\windows\\himem.sys\r\n" + kHimem);
}

TEST_F(ConfigSysTest, OnlyWholeLinesCountNotTheTailOfALongerOne) {
  // Read in pieces of 127 characters, the tail of this line is the himem
  // line; the system sees one long line.
  const std::string padding = "rem " + std::string(123, '-');
  ASSERT_EQ(padding.size(), 127u);
  const std::string config = padding + kHimem + kRamDrive;
  Write(config);
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), config + kHimem);
  // A line of exactly 127 characters before them is whole and read apart.
  Write(std::string(126, '#') + "\r\n" + kHimem + kRamDrive);
  EXPECT_FALSE(AppendLines());
}

TEST_F(ConfigSysTest, AReadOnlyFileIsMadeWritableAndGetsTheLines) {
  Write("files=30\r\n");
  std::filesystem::permissions(test_.Host("config.sys"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), "files=30\r\n" + kHimem + kRamDrive);
  EXPECT_EQ(*test_.files().GetAttributes(kConfigSys) & platform::attribute::kReadOnly, 0u);
}

TEST_F(ConfigSysTest, AFileEndedByCtrlZGetsTheLinesBeforeTheEnd) {
  Write("files=30\r\n\x1A");
  EXPECT_TRUE(AppendLines());
  EXPECT_EQ(Read(), "files=30\r\n" + kHimem + kRamDrive);
  EXPECT_TRUE(ReadRamDriveLines(test_.files()).Complete());
}

TEST_F(ConfigSysTest, ACtrlZBeforeTheEndWouldHideTheLinesSoNothingIsWritten) {
  // Every boot would append lines that no boot reads, and restart again.
  const std::string config =
      "files=30\r\n\x1A"
      "rem behind the end\r\n";
  Write(config);
  EXPECT_FALSE(AppendLines());
  EXPECT_EQ(Read(), config);
}

TEST_F(ConfigSysTest, NothingWrittenAsksForNoReboot) {
  std::filesystem::remove(test_.Host("config.sys"));
  std::filesystem::create_directory(test_.Host("config.sys"));
  EXPECT_FALSE(AppendLines());
}

}  // namespace
}  // namespace qv::instrument
