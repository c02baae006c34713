// What the fuzz targets compare on the host side of a simulated drive: every
// file below a folder with its bytes, and whether a temporary file of the
// archive library was left behind.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace qv::fuzz {

using HostFiles = std::map<std::filesystem::path, std::string>;

// Every file below `root` and its bytes, passing over the folder `skip`.
HostFiles Snapshot(const std::filesystem::path& root, const std::filesystem::path& skip = {});

// Whether a file whose name begins with "ZT" lies below `root`.
bool HoldsTemporaryFile(const std::filesystem::path& root);

}  // namespace qv::fuzz
