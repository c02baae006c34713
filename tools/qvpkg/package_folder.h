// A built package as it lies in its output folder: the upgrade header
// qv731upg.hdr and the archive it names. Bytes 4 to 11 of the header, which
// the loader does not interpret, carry the archive's length and CRC-32
// (both 32-bit little-endian), so that a package can be checked whole
// before it is installed.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "upgrade/upgrade_header.h"

namespace qv::qvpkg {

// A one-line reason why a package cannot be read, built or installed.
struct PackageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kArchiveName = "qv731upg.arq";

struct ArchiveSeal {
  std::uint32_t length = 0;
  std::uint32_t crc = 0;

  friend bool operator==(const ArchiveSeal&, const ArchiveSeal&) = default;
};

// The length and CRC-32 of an archive's bytes.
ArchiveSeal SealOf(std::string_view archive_bytes);
// The header's bytes 4 to 11, and the other way round.
ArchiveSeal SealIn(const upgrade::UpgradeHeader& header);
std::array<std::uint8_t, 8> SealBytes(const ArchiveSeal& seal);

struct Package {
  upgrade::UpgradeHeader header;
  std::filesystem::path header_file;
  std::filesystem::path archive_file;
  std::string archive_bytes;

  // Whether the archive is the one the header was written for.
  bool Sealed() const { return SealIn(header) == SealOf(archive_bytes); }
};

// Reads the package in the folder; throws PackageError when the folder, the
// header (exactly 52 bytes) or the archive it names is missing or unusable.
Package ReadPackage(const std::filesystem::path& folder);

}  // namespace qv::qvpkg
