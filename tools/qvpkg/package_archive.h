// The package's archive through the archive library: packing a tree that
// mirrors drive C: (members keep their folders, stored relative to the
// tree's root), and listing what an archive holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codec/events.h"
#include "platform/files.h"

namespace qv::qvpkg {

struct ArchiveMember {
  std::string name;  // as stored, with "\" between folders
  std::uint32_t unpacked_size = 0;
  std::uint32_t packed_size = 0;
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
};

// Packs every file below C:\ into a new archive at archive_path (a DOS path
// ending in ".arq" on another drive). Throws PackageError with the
// library's message when a file could not be packed. `best` packs with the
// optimal parse: smaller, several times slower. `progress`, when given,
// hears every event of the library while the files are packed.
void PackDriveC(platform::Files& files, std::string_view archive_path, bool best = false,
                ProgressCallback progress = nullptr);

// The members of the archive in their order; throws PackageError with the
// library's message when it cannot be read through.
std::vector<ArchiveMember> ListArchive(platform::Files& files, std::string_view archive_path);

}  // namespace qv::qvpkg
