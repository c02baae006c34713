// Small host file helpers for the machine folder's own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qv::sim {

// Replaces the file's contents in one step (a temporary file beside it,
// renamed into place), so that a reader or a power cut never meets half of
// it. Throws std::runtime_error naming the file when it cannot.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view contents);

// Makes a new folder "PREFIX-XXXXXX" in the host's temporary folder; its
// path without symbolic links. Throws std::runtime_error when it cannot.
std::filesystem::path MakeTemporaryFolder(std::string_view prefix);

// Puts the file `from` in the place of the file `to`, never leaving a moment
// without a file there; false when it cannot.
bool ReplaceHostFile(const std::filesystem::path& from, const std::filesystem::path& to);

// The whole file, or nullopt when it does not exist. Throws
// std::runtime_error when it exists but cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

}  // namespace qv::sim
