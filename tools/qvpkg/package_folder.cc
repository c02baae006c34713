#include "tools/qvpkg/package_folder.h"

#include "codec/crc32.h"
#include "platform/dos_path.h"
#include "sim/host_io.h"
#include "upgrade/package_names.h"

namespace qv::qvpkg {
namespace {

namespace fs = std::filesystem;

std::uint32_t Word(const std::array<std::uint8_t, 8>& bytes, std::size_t offset) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i)
    word |= std::uint32_t{bytes[offset + i]} << (8 * i);
  return word;
}

std::string ReadFile(const fs::path& file, std::string_view what) {
  std::optional<std::string> bytes;
  try {
    bytes = sim::ReadWholeFile(file);
  } catch (const std::exception&) {
  }
  if (!bytes) throw PackageError(file.string() + ": " + std::string(what) + " cannot be read");
  return std::move(*bytes);
}

}  // namespace

ArchiveSeal SealOf(std::string_view archive_bytes) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(archive_bytes.data());
  return {static_cast<std::uint32_t>(archive_bytes.size()),
          codec::Crc32({data, archive_bytes.size()})};
}

ArchiveSeal SealIn(const upgrade::UpgradeHeader& header) {
  const std::array<std::uint8_t, 8> reserved = header.reserved();
  return {Word(reserved, 0), Word(reserved, 4)};
}

std::array<std::uint8_t, 8> SealBytes(const ArchiveSeal& seal) {
  std::array<std::uint8_t, 8> bytes{};
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[i] = static_cast<std::uint8_t>(seal.length >> (8 * i));
    bytes[4 + i] = static_cast<std::uint8_t>(seal.crc >> (8 * i));
  }
  return bytes;
}

Package ReadPackage(const fs::path& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) throw PackageError(folder.string() + ": no such folder");
  Package package;
  package.header_file = folder / std::string(upgrade::kHeaderFile);
  const std::string header = ReadFile(package.header_file, "the upgrade header");
  if (header.size() != upgrade::kHeaderSize) {
    throw PackageError(package.header_file.string() + ": not an upgrade header (" +
                       std::to_string(header.size()) + " bytes, not 52)");
  }
  upgrade::UpgradeHeader::Bytes bytes{};
  std::copy(header.begin(), header.end(), bytes.begin());
  package.header = upgrade::UpgradeHeader(bytes);
  const std::string name = package.header.archive_name();
  if (!platform::IsValidName(name)) {
    throw PackageError(package.header_file.string() + ": names no archive file (\"" + name + "\")");
  }
  package.archive_file = folder / name;
  package.archive_bytes = ReadFile(package.archive_file, "the archive");
  return package;
}

}  // namespace qv::qvpkg
