#include "tests/staged_upgrade.h"

#include <fstream>

#include <gtest/gtest.h>

#include "tools/qvpkg/package_install.h"
#include "upgrade/upgrade_header.h"

namespace qv::tests {

namespace fs = std::filesystem;

std::string HeaderBytes(std::uint32_t pending, std::string_view part_number,
                        std::string_view archive_name) {
  const upgrade::UpgradeHeader header =
      *upgrade::UpgradeHeader::Make(pending, {}, part_number, archive_name);
  return std::string(header.bytes().begin(), header.bytes().end());
}

void WriteHeader(const sim::TestMachine& machine, std::uint32_t pending,
                 std::string_view part_number, std::string_view archive_name) {
  machine.WriteHost(std::string(kStagingFolder) + "qv731upg.hdr",
                    HeaderBytes(pending, part_number, archive_name));
}

qvpkg::BuiltPackage InstallBuiltPackage(const sim::TestMachine& machine, const TreeFiles& files,
                                        std::string_view part_number,
                                        const std::set<std::string>& read_only) {
  const fs::path tree = machine.folder().parent_path() / "tree";
  const fs::path output = machine.folder().parent_path() / "package";
  fs::remove_all(tree);
  for (const auto& [path, bytes] : files) {
    fs::create_directories((tree / path).parent_path());
    std::ofstream(tree / path, std::ios::binary) << bytes;
    if (read_only.contains(path)) {
      fs::permissions(tree / path,
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }
  qvpkg::BuiltPackage built = qvpkg::BuildPackage({tree, std::string(part_number), output});
  qvpkg::InstallPackage(built.package, machine.folder());
  return built;
}

std::string Noise(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

std::string OpeningLines(std::string_view part_number, std::string_view archive_name) {
  return "Upgrade began Thu May 17 10:00:02 2001\r\n\r\nPart Number: " + std::string(part_number) +
         "\r\n  File Name: " + std::string(archive_name) + "\r\n";
}

void ExpectPackageInstalled(const sim::TestMachine& machine) {
  const std::string staging(kStagingFolder);
  EXPECT_FALSE(Exists(machine, staging + "qv731upg.hdr"));
  EXPECT_FALSE(Exists(machine, staging + "qv731upg.fld"));
  EXPECT_TRUE(Exists(machine, staging + "qv731upg.arq"));
  EXPECT_FALSE(IsReadOnly(machine, staging + "qv731upg.arq"));
  EXPECT_TRUE(Exists(machine, "scope/old_rev/scope/temp/qv731upg.udo"));
}

void MakeReadOnly(const sim::TestMachine& machine, std::string_view relative) {
  fs::permissions(machine.Host(relative),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

bool IsReadOnly(const sim::TestMachine& machine, std::string_view relative) {
  return (fs::status(machine.Host(relative)).permissions() & fs::perms::owner_write) ==
         fs::perms::none;
}

bool Exists(const sim::TestMachine& machine, std::string_view relative) {
  return fs::exists(machine.Host(relative));
}

}  // namespace qv::tests
