#include "tools/qvpkg/package_install.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::qvpkg {
namespace {

Package MadePackage(const std::string& archive, std::string_view part_number = "QV7310-62001") {
  Package package;
  package.archive_bytes = archive;
  package.header =
      *upgrade::UpgradeHeader::Make(1, SealBytes(SealOf(archive)), part_number, kArchiveName);
  return package;
}

std::string HeaderText(const Package& package) {
  return std::string(package.header.bytes().begin(), package.header.bytes().end());
}

TEST(InstallPackage, PutsArchiveAndHeaderIntoTheStagingFolder) {
  sim::TestMachine machine;
  const Package first = MadePackage("first archive");
  InstallPackage(first, machine.folder());
  EXPECT_EQ(machine.ReadHost("scope/upgrade/scope/temp/qv731upg.arq"), "first archive");
  EXPECT_EQ(machine.ReadHost("scope/upgrade/scope/temp/qv731upg.hdr"), HeaderText(first));

  // A second package replaces the first, even a read-only one.
  std::filesystem::permissions(machine.Host("scope/upgrade/scope/temp/qv731upg.arq"),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const Package second = MadePackage("second", "QV7310-62002");
  InstallPackage(second, machine.folder());
  EXPECT_EQ(machine.ReadHost("scope/upgrade/scope/temp/qv731upg.arq"), "second");
  EXPECT_EQ(machine.ReadHost("scope/upgrade/scope/temp/qv731upg.hdr"), HeaderText(second));
  for (const auto& entry :
       std::filesystem::directory_iterator(machine.Host("scope/upgrade/scope/temp"))) {
    EXPECT_EQ(entry.path().extension(),
              entry.path().filename() == "qv731upg.hdr" ? ".hdr" : ".arq");
  }
}

TEST(InstallPackage, RefusesAnArchiveThatIsNotTheHeadersOwn) {
  sim::TestMachine machine;
  Package package = MadePackage("the archive");
  package.archive_bytes = "the archivE";
  EXPECT_THROW(InstallPackage(package, machine.folder()), PackageError);
  EXPECT_FALSE(std::filesystem::exists(machine.Host("scope/upgrade/scope/temp")));
  EXPECT_THROW(InstallPackage(MadePackage("x"), machine.folder() / "none"), std::exception);
}

}  // namespace
}  // namespace qv::qvpkg
