// What the upgrade scenarios leave on a machine before its boot: the
// package header in the staging folder, staged files, installed files, and
// read-only attributes; and what they read back.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "sim/test_machine.h"
#include "tools/qvpkg/package_builder.h"

namespace qv::tests {

inline constexpr const char* kStagingFolder = "scope/upgrade/scope/temp/";

// The 52-byte header: pending word, part number, archive name.
std::string HeaderBytes(std::uint32_t pending, std::string_view part_number,
                        std::string_view archive_name);
void WriteHeader(const sim::TestMachine& machine, std::uint32_t pending = 1,
                 std::string_view part_number = "QV7310-62001",
                 std::string_view archive_name = "qv731upg.arq");

// Builds a package from the files (path below the tree with "/", bytes;
// those named in read_only without write permission) beside the machine's
// folder, and installs it on the machine as qvpkg does.
using TreeFiles = std::vector<std::pair<std::string, std::string>>;
qvpkg::BuiltPackage InstallBuiltPackage(const sim::TestMachine& machine, const TreeFiles& files,
                                        std::string_view part_number = "QV7310-62001",
                                        const std::set<std::string>& read_only = {});

// Bytes that do not compress: a member of them is stored.
std::string Noise(std::size_t size, std::uint32_t seed);

// The log's first lines for an upgrade begun two seconds into the boot.
std::string OpeningLines(std::string_view part_number = "QV7310-62001",
                         std::string_view archive_name = "qv731upg.arq");

// An installed package: its header and the failure marker gone, its
// archive kept and writable, the undo marker made.
void ExpectPackageInstalled(const sim::TestMachine& machine);

void MakeReadOnly(const sim::TestMachine& machine, std::string_view relative);
bool IsReadOnly(const sim::TestMachine& machine, std::string_view relative);
bool Exists(const sim::TestMachine& machine, std::string_view relative);

}  // namespace qv::tests
