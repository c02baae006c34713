// Boots that change the instrument, under Wine against the simulated
// instrument: an upgrade over two boots, a damaged package, and the RAM
// drive's request and the boot after it. The reboot requests are answered
// by the test set-up (stand_in_restart.h) and compared in their place among
// the program starts.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/staged_upgrade.h"
#include "tests/wine/both_machines.h"
#include "tests/wine/wine_prefix.h"

namespace qv::wine_test {
namespace {

class UpgradeUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  }
  const sim::TestMachine& machine() { return machines_.simulated().machine(); }

  BothMachines machines_;
};

void ExpectSame(const BothBoots& boots) {
  EXPECT_EQ(boots.wine.exit, boots.simulated.exit);
  EXPECT_EQ(boots.wine.events, boots.simulated.events);
  EXPECT_EQ(boots.wine.boxes, boots.simulated.boxes);
  EXPECT_EQ(boots.wine.files, boots.simulated.files);
  EXPECT_EQ(boots.wine.registry, boots.simulated.registry);
}

// The stand-in for the programs the loader starts, which a package brings
// as the new scope application: Wine runs only programs.
std::string StandInProgram() {
  std::ifstream in(QV_WIN64_STAND_IN, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Read-only files are replaced, cal and setups backed up; the first boot
// installs and asks for the restart, the second starts the new revision.
TEST_F(UpgradeUnderWine, AnUpgradeOverTwoBootsEndsAsOnTheSimulator) {
  machine().WriteHost("scope/bin/qv7311x.exe", "old scope");
  tests::MakeReadOnly(machine(), "scope/bin/qv7311x.exe");
  machine().WriteHost("scope/cal/gain.cal", "old gain");
  tests::MakeReadOnly(machine(), "scope/cal/gain.cal");
  machine().WriteHost("scope/setups/default.set", "old setup");
  machine().WriteHost("scope/old_rev/scope/bin/older.dll", "older");
  tests::InstallBuiltPackage(machine(),
                             {{"scope/bin/qv7311x.exe", StandInProgram()},
                              {"scope/bin/new.dll", "new library"},
                              {"scope/cal/gain.cal", "new gain"}},
                             "QV7310-62001", {"scope/bin/new.dll"});

  const BothBoots first = machines_.Boot("/noram");
  ASSERT_NE(first.simulated.files.count("C:/scope/bin/upgrade.log"), 0u);
  EXPECT_EQ(first.simulated.events.front(), "reboot");
  EXPECT_EQ(first.simulated.files.at("C:/scope/old_rev/scope/cal/gain.cal"),
            "old gain (read-only)");
  ExpectSame(first);

  const BothBoots second = machines_.Boot("/noram");
  EXPECT_EQ(second.simulated.events.size(), 1u);
  ExpectSame(second);
}

// A flipped byte in the last member: nothing is installed, the header goes,
// the log says why, and the installed revision starts.
TEST_F(UpgradeUnderWine, ADamagedPackageIsAbandonedAsOnTheSimulator) {
  tests::InstallBuiltPackage(machine(), {{"scope/bin/a.exe", "the first member"},
                                         {"scope/bin/qv7311x.exe", "the second member"}});
  const std::string archive = std::string(tests::kStagingFolder) + "qv731upg.arq";
  std::string bytes = machine().ReadHost(archive);
  bytes[bytes.size() - 42] ^= 0x01;
  machine().WriteHost(archive, bytes);

  const BothBoots boots = machines_.Boot("/noram");
  EXPECT_NE(boots.simulated.files.at("C:/scope/bin/upgrade.log").find("CRC32 error"),
            std::string::npos);
  ExpectSame(boots);
}

// Wine reports the host's memory, more than 32 MiB: the first boot adds the
// lines to c:\config.sys, asks for the restart and fails to start the scope
// from d:\, which does not exist yet; the system makes d:\ at the next boot
// (the test set-up under Wine), and the scope starts from there.
TEST_F(UpgradeUnderWine, TheRamDriveRequestAndTheBootAfterItAsOnTheSimulator) {
  machines_.simulated().EditConfig(
      [](nlohmann::ordered_json& json) { json["memory_bytes"] = 512u << 20; });
  machine().WriteHost("config.sys", "files=30\r\n");
  machine().WriteHost("scope/bin/one.dll", "one");

  BothBoots first = machines_.Boot("");
  EXPECT_EQ(first.simulated.events.front(), "reboot");
  // The copy to d:\ fails: Wine says a file of the missing drive is not
  // found (2), where the system says its path is not (3).
  ASSERT_EQ(first.simulated.boxes,
            std::vector<std::string>{
                R"(box "qv731Ldr" "The system cannot find the path specified.\r\n" -> "OK")"});
  EXPECT_EQ(first.wine.boxes,
            std::vector<std::string>{
                R"(box "qv731Ldr" "The system cannot find the file specified.\r\n" -> "OK")"});
  first.wine.boxes = first.simulated.boxes;
  ExpectSame(first);

  const BothBoots second = machines_.Boot("");
  ASSERT_EQ(second.simulated.events.size(), 1u);
  EXPECT_EQ(second.simulated.events.front().rfind("D:\\QV7311X.EXE|", 0), 0u);
  ExpectSame(second);
}

}  // namespace
}  // namespace qv::wine_test
