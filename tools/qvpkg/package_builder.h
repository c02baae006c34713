// Builds an upgrade package from a folder that mirrors drive C:: the
// archive qv731upg.arq (every file of the tree, stored by its path below
// the tree) and its header qv731upg.hdr (pending 1, the part number, the
// archive's name, and the archive's length and CRC-32 in bytes 4 to 11).
// The package is written under other names first and takes its place only
// when it is whole and its archive holds exactly the tree's files; a build
// that fails leaves nothing behind.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/qvpkg/package_archive.h"
#include "tools/qvpkg/package_folder.h"

namespace qv::qvpkg {

// The longest part number: its field keeps a zero byte behind it.
inline constexpr std::size_t kMaxPartNumber = 13;

struct BuildRequest {
  std::filesystem::path tree;
  std::string part_number;
  std::filesystem::path output;         // created when missing
  bool best = false;                    // the optimal parse: smaller, slower
  ProgressCallback progress = nullptr;  // hears the library's events while packing
};

struct BuiltPackage {
  Package package;
  std::vector<ArchiveMember> members;
};

// Throws PackageError or TreeRefused with a one-line reason.
BuiltPackage BuildPackage(const BuildRequest& request);

}  // namespace qv::qvpkg
