// The folder a package is built from: it mirrors the instrument's drive C:
// from its root (TREE/scope/bin/x.exe installs as c:\scope\bin\x.exe). Only
// what the archive can hold and the instrument can install is accepted: DOS
// names, no two names in a folder that differ only in case, paths short
// enough to be staged below c:\scope\upgrade, files under 4 GiB, nothing in
// a temp folder (never installed, and the package itself lies in one), and
// at least one file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv::qvpkg {

// Thrown with a one-line reason naming the path that cannot go into a
// package.
struct TreeRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TreeFile {
  std::string relative;  // "scope\bin\x.exe", as the archive stores it
  std::uint64_t size = 0;
};

// The files of the tree in the order the instrument lists them; throws
// TreeRefused.
std::vector<TreeFile> ScanPackageTree(const std::filesystem::path& tree);

}  // namespace qv::qvpkg
