// An upgrade that loses power after any single write, after one write of
// each of two boots in a row, or three times over, never costs the owner's
// calibration and never leaves a mix of two revisions behind: the boots
// after it end where an uncut upgrade ends, or abandon the package cleanly.
// Each sweep goes over every cut point (or every call that can fail), and
// compares all of drive C: with the uncut run.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "sim/host_io.h"
#include "tests/staged_upgrade.h"
#include "tests/whole_machine.h"

namespace qv::tests {
namespace {

namespace fs = std::filesystem;

// What the owner has on the instrument before the upgrade.
void PrepareInstrument(const sim::TestMachine& machine) {
  machine.WriteHost("scope/bin/qv7311x.exe", "scope A.02");
  MakeReadOnly(machine, "scope/bin/qv7311x.exe");
  machine.WriteHost("scope/cal/gain.cal", "the owner's gain");
  machine.WriteHost("scope/cal/offset.cal", "the owner's offset");
  MakeReadOnly(machine, "scope/cal/offset.cal");
  machine.WriteHost("scope/setups/default.set", "the owner's setup");
  machine.WriteHost("scope/setups/mine/bench.set", "the owner's bench");
  // An earlier upgrade's backup, and a file it left deep in the staging tree.
  machine.WriteHost("scope/old_rev/scope/cal/gain.cal", "an older gain");
  machine.WriteHost("scope/old_rev/scope/temp/qv731upg.udo", "");
  machine.WriteHost("scope/upgrade/scope/cal/x/y/z/stale.cal", "a factory file of long ago");
}

// A package with nested folders, a read-only file, files at c:\ and in
// windows\system, cal and setups files, and a file that tears.
const TreeFiles kPackage = {
    {"scope/bin/qv7311x.exe", "scope A.03"},     {"scope/bin/locked.dat", "read-only A.03"},
    {"scope/bin/big.bin", Noise(10000, 7)},      {"scope/bin/fonts/small/glyphs.fnt", "glyphs"},
    {"scope/cal/gain.cal", "factory gain A.03"}, {"scope/setups/default.set", "factory setup A.03"},
    {"windows/system/qvdrv.dll", "driver A.03"}, {"readme.txt", "read me"}};

const TreeFiles kLoaderPackage = {{"scope/bin/qv731ldr.exe", "loader A.03"},
                                  {"scope/bin/preldr.exe", "pre-loader A.03"},
                                  {"scope/bin/qv7311x.exe", "scope A.03"},
                                  {"scope/cal/gain.cal", "factory gain A.03"}};

class PowerCutSweep : public ::testing::Test {
 protected:
  // A machine with the package installed and the read-only file in it.
  void Prepare(const TreeFiles& package) {
    PrepareInstrument(prepared_);
    prepared_.WriteHost("scope/bin/preldr.exe", "pre-loader A.02");
    prepared_.WriteHost("scope/bin/qv731Ldr.exe", "loader A.02");
    InstallBuiltPackage(prepared_, package, "QV7310-62001", {"scope/bin/locked.dat"});
    MachineCopy uncut(prepared_.folder());
    first_boot_ = BootWith(uncut.folder());
    RecordProperty("writes", first_boot_.writes);
    RecordProperty("calls", first_boot_.calls);
    BootUntilSettled(uncut.folder());
    expected_ = ReadDriveC(uncut.folder(), presence_only_);
  }

  // Boots a copy of the prepared machine with a cut in each of the first
  // boots, then without cuts until it settles.
  DriveState CutAndSettle(const std::vector<int>& cuts) {
    MachineCopy copy(prepared_.folder());
    for (const int cut : cuts)
      BootWith(copy.folder(), {.cut_after_write = cut});
    BootUntilSettled(copy.folder());
    return ReadDriveC(copy.folder(), presence_only_);
  }

  sim::TestMachine prepared_;
  FaultyBoot first_boot_;
  DriveState expected_;
  // The log may differ; the marker left for the pre-loader counts attempts.
  std::set<std::string> presence_only_ = {"scope/bin/upgrade.log",
                                          "scope/upgrade/scope/temp/qv731upg.fld"};
};

TEST_F(PowerCutSweep, TheUncutUpgradeKeepsTheOwnersFilesInTheBackup) {
  Prepare(kPackage);
  const auto& files = expected_.files;
  EXPECT_EQ(files.at("scope/bin/qv7311x.exe"), "scope A.03");
  EXPECT_EQ(files.at("README.TXT"), "read me");
  EXPECT_EQ(files.at("windows/system/QVDRV.DLL"), "driver A.03");
  EXPECT_EQ(files.at("scope/bin/FONTS/SMALL/GLYPHS.FNT"), "glyphs");
  EXPECT_TRUE(expected_.read_only.contains("scope/bin/LOCKED.DAT"));
  EXPECT_EQ(files.at("scope/old_rev/scope/cal/gain.cal"), "the owner's gain");
  EXPECT_EQ(files.at("scope/old_rev/scope/cal/offset.cal"), "the owner's offset");
  EXPECT_EQ(files.at("scope/old_rev/scope/setups/mine/bench.set"), "the owner's bench");
  EXPECT_TRUE(files.contains("scope/old_rev/scope/temp/qv731upg.udo"));
  EXPECT_FALSE(files.contains("scope/upgrade/scope/temp/qv731upg.hdr"));
  // Stale staging files are cleared at any depth, never installed.
  EXPECT_FALSE(files.contains("scope/cal/x/y/z/stale.cal"));
  EXPECT_FALSE(files.contains("scope/upgrade/scope/cal/x/y/z/stale.cal"));
}

TEST_F(PowerCutSweep, OneCutAtAnyWriteEndsAsTheUncutUpgrade) {
  Prepare(kPackage);
  ASSERT_GT(first_boot_.writes, 100);
  for (int cut = 1; cut <= first_boot_.writes; ++cut) {
    const DriveState state = CutAndSettle({cut});
    ASSERT_TRUE(state == expected_)
        << "cut after write " << cut << " of " << first_boot_.writes << ":\n"
        << Differences(expected_, state);
  }
}

TEST_F(PowerCutSweep, ANewLoaderIsHandedOverAsWithoutACut) {
  Prepare(kLoaderPackage);
  EXPECT_EQ(expected_.files.at("scope/old_rev/scope/bin/preldr.exe"), "pre-loader A.02");
  EXPECT_EQ(expected_.files.at("scope/old_rev/scope/bin/qv731Ldr.exe"), "loader A.02");
  EXPECT_EQ(expected_.files.at("scope/bin/preldr.exe"), "pre-loader A.03");
  for (int cut = 1; cut <= first_boot_.writes; ++cut) {
    const DriveState state = CutAndSettle({cut});
    ASSERT_TRUE(state == expected_)
        << "cut after write " << cut << " of " << first_boot_.writes << ":\n"
        << Differences(expected_, state);
  }
}

TEST_F(PowerCutSweep, ACutInTheRetryToo) {
  Prepare(kPackage);
  // Both cuts at a stride; the second over the writes of the retry that the first left.
  const int stride = 11;
  int pairs = 0;
  for (int first = 1; first <= first_boot_.writes; first += stride) {
    MachineCopy probe(prepared_.folder());
    BootWith(probe.folder(), {.cut_after_write = first});
    const int retry_writes = BootWith(probe.folder()).writes;
    // Each row starts one write further, so the rows together reach every residue.
    const int row = (first - 1) / stride;
    for (int second = 1 + row % stride; second <= retry_writes; second += stride) {
      const DriveState state = CutAndSettle({first, second});
      ++pairs;
      ASSERT_TRUE(state == expected_) << "cuts after writes " << first << " and " << second << ":\n"
                                      << Differences(expected_, state);
    }
  }
  RecordProperty("pairs", pairs);
  EXPECT_GT(pairs, 100);
}

std::string Transcript(const fs::path& machine) {
  return sim::ReadWholeFile(machine / "state" / "transcript.txt").value_or("");
}

std::string OnDriveC(const fs::path& machine, std::string_view path) {
  return sim::ReadWholeFile(machine / "drives" / "C" / path).value_or("<missing>");
}

// The owner's calibration is somewhere: still installed, or in the backup.
void ExpectOwnersCalibrationKept(const fs::path& machine, const std::string& context) {
  for (const char* file : {"gain.cal", "offset.cal"}) {
    const std::string installed = OnDriveC(machine, std::string("scope/cal/") + file);
    const std::string saved = OnDriveC(machine, std::string("scope/old_rev/scope/cal/") + file);
    EXPECT_TRUE(installed.starts_with("the owner's") || saved.starts_with("the owner's"))
        << context << ": " << file << " is \"" << installed << "\", saved \"" << saved << "\"";
  }
}

TEST_F(PowerCutSweep, ThreeCutsInARowAbandonThePackageAndKeepTheBackup) {
  Prepare(kPackage);
  MachineCopy copy(prepared_.folder());
  for (int boot = 1; boot <= 3; ++boot) {
    // A cut late in the boot: during the install, after the backup.
    MachineCopy probe(copy.folder());
    const int writes = BootWith(probe.folder()).writes;
    BootWith(copy.folder(), {.cut_after_write = writes - 12});
  }
  const FaultyBoot fourth = BootWith(copy.folder());
  const std::string story = Transcript(copy.folder());
  EXPECT_NE(story.find("System Upgrade Failed"), std::string::npos) << story;
  EXPECT_FALSE(fourth.outcome.reboot_accepted);
  ASSERT_TRUE(fourth.outcome.launched);
  EXPECT_TRUE(sim::IsScopeApplication(fourth.outcome.launched->program));
  EXPECT_EQ(OnDriveC(copy.folder(), "scope/old_rev/scope/cal/gain.cal"), "the owner's gain");
  EXPECT_EQ(OnDriveC(copy.folder(), "scope/old_rev/scope/cal/offset.cal"), "the owner's offset");
  EXPECT_EQ(OnDriveC(copy.folder(), "scope/old_rev/scope/setups/mine/bench.set"),
            "the owner's bench");
  EXPECT_EQ(OnDriveC(copy.folder(), "scope/upgrade/scope/temp/qv731upg.hdr"), "<missing>");
  EXPECT_EQ(OnDriveC(copy.folder(), "scope/upgrade/scope/temp/qv731upg.fld"), "<missing>");
  const std::string log = OnDriveC(copy.folder(), "scope/bin/upgrade.log");
  EXPECT_NE(log.find("Attempt 3 of 3"), std::string::npos) << log;
  EXPECT_NE(log.find("Abandoned after 3 attempts"), std::string::npos) << log;
}

TEST_F(PowerCutSweep, AnyCallFailingOnceNeverLosesTheCalibration) {
  Prepare(kPackage);
  ASSERT_GT(first_boot_.calls, 100);
  for (int failing = 1; failing <= first_boot_.calls; ++failing) {
    const std::string context = "call " + std::to_string(failing);
    MachineCopy copy(prepared_.folder());
    const FaultyBoot boot = BootWith(copy.folder(), {.fail_nth_call = failing});
    ASSERT_NE(boot.outcome.end.way, sim::RunEnd::Way::kStopped) << context;
    if (Transcript(copy.folder()).find("System Upgrade Complete") != std::string::npos) {
      // Every file installed and saved as by the uncut upgrade (the log and
      // the start-up entries are no part of the package).
      const DriveState now = ReadDriveC(copy.folder(), presence_only_);
      for (const auto& [path, bytes] : expected_.files) {
        if (path.starts_with("scope/upgrade/") || path == "scope/bin/upgrade.log" ||
            path == "autoexec.bat")
          continue;
        const auto found = now.files.find(path);
        EXPECT_TRUE(found != now.files.end() && found->second == bytes)
            << context << ": complete, but " << path << " is not as after an uncut upgrade";
      }
    }
    ExpectOwnersCalibrationKept(copy.folder(), context);
    BootUntilSettled(copy.folder());
    ExpectOwnersCalibrationKept(copy.folder(), context + ", settled");
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace qv::tests
