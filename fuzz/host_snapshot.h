// The host side of a simulated instrument as the fuzz targets use it: a
// file written from the input, every file below a folder with its bytes,
// and whether a temporary file of the archive library was left behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>

namespace qv::fuzz {

using HostFiles = std::map<std::filesystem::path, std::string>;

// Writes the bytes as the file, replacing it.
void WriteHostFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

// Every file below `root` and its bytes, passing over the folder `skip`.
HostFiles Snapshot(const std::filesystem::path& root, const std::filesystem::path& skip = {});

// Prints to stderr each file missing, extra or different in `actual`, with
// its size, so that a finding says what went wrong.
void ShowDifference(const HostFiles& expected, const HostFiles& actual);

// Whether a file whose name begins with "ZT" lies below `root`.
bool HoldsTemporaryFile(const std::filesystem::path& root);

}  // namespace qv::fuzz
