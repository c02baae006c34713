// qvpkg inspect OUTDIR
#include <cstdio>
#include <iostream>
#include <memory>

#include "codec/member_record.h"
#include "tools/arq/host_drives.h"
#include "tools/qvpkg/commands.h"
#include "tools/qvpkg/package_archive.h"
#include "tools/qvpkg/package_folder.h"

namespace qv::qvpkg {
namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

std::string MethodName(std::uint32_t method) {
  if (method == qv::kMethodStored) return "stored";
  if (method == qv::kMethodCompressed) return "compressed";
  return "method " + std::to_string(method);
}

void PrintPackage(const Package& package, const std::vector<ArchiveMember>& members) {
  const ArchiveSeal seal = SealIn(package.header);
  std::printf("header       %s\n", package.header_file.string().c_str());
  std::printf("pending      %u\n", package.header.pending_word());
  std::printf("part number  %s\n", package.header.part_number().c_str());
  std::printf("archive      %s\n", package.header.archive_name().c_str());
  std::printf("bytes 4-11   archive length %u, CRC-32 %s: %s\n", seal.length, Hex(seal.crc).c_str(),
              package.Sealed() ? "the archive matches" : "the archive does NOT match");
  std::printf("%10s %10s  %-10s  %-8s  %s\n", "unpacked", "packed", "method", "crc", "member");
  for (const ArchiveMember& member : members) {
    std::printf("%10u %10u  %-10s  %-8s  %s\n", member.unpacked_size, member.packed_size,
                MethodName(member.method).c_str(), Hex(member.crc).c_str(), member.name.c_str());
  }
  std::printf("%zu member%s\n", members.size(), members.size() == 1 ? "" : "s");
}

}  // namespace

void AddInspectCommand(CLI::App& app) {
  auto folder = std::make_shared<std::string>();
  CLI::App* command =
      app.add_subcommand("inspect", "Print a package's header fields and its archive's members");
  command->add_option("OUTDIR", *folder, "The folder qvpkg build wrote")->required();
  command->callback([folder] {
    const Package package = ReadPackage(*folder);
    arq::HostDrives drives({});
    drives.Mount('D', std::filesystem::absolute(package.archive_file.parent_path()));
    const std::vector<ArchiveMember> members =
        ListArchive(drives.files(), "D:\\" + package.header.archive_name());
    PrintPackage(package, members);
    if (!package.Sealed())
      throw PackageError(package.archive_file.string() +
                         ": not the archive its header was written for");
  });
}

}  // namespace qv::qvpkg
