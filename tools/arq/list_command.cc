// arq l: one row per member, or one JSON document with --json. The library
// walks the archive as for an extraction and the listing passes every
// member over at its event 44, having noted its record. The table shows
// control characters escaped; --json holds every name exactly, each byte as
// the character U+0000..U+00FF of its number.
#include <cstdio>
#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>

#include "sim/latin1.h"
#include "tools/arq/archive_command.h"
#include "tools/arq/command_groups.h"
#include "tools/arq/terminal_text.h"

namespace qv::arq {
namespace {

struct Row {
  std::string name;
  std::uint32_t unpacked = 0;
  std::uint32_t packed = 0;
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
  std::uint32_t time = 0;
  std::uint32_t flags = 0;
  int volume = 0;
};

std::string MethodName(std::uint32_t method) {
  if (method == kMethodStored) return "stored";
  if (method == kMethodCompressed) return "compressed";
  return "method " + std::to_string(method);
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

std::string TimeText(std::uint32_t seconds) {
  const std::time_t time = seconds;
  // gmtime's shared result is read at once; every 32-bit time converts.
  char text[32] = "";
  if (const std::tm* utc = std::gmtime(&time))
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", utc);
  return text;
}

std::vector<std::string> FlagNames(std::uint32_t flags) {
  std::vector<std::string> names;
  if (flags & kFlagText) names.push_back("text");
  if (flags & kFlagBinary) names.push_back("binary");
  if (flags & kFlagEncrypted) names.push_back("encrypted");
  if (flags & kFlagContinued) names.push_back("continued");
  return names;
}

std::string FlagLetters(std::uint32_t flags) {
  std::string letters;
  for (const std::string& name : FlagNames(flags))
    letters += name[0];
  return letters.empty() ? "-" : letters;
}

// Packed bytes as a share of the unpacked ones.
std::string Ratio(std::uint64_t packed, std::uint64_t unpacked) {
  if (unpacked == 0) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%.1f%%",
                100.0 * static_cast<double>(packed) / static_cast<double>(unpacked));
  return text;
}

void PrintTable(const std::vector<Row>& rows) {
  std::printf("%10s %10s %6s %-10s %-8s %-19s %-5s %3s  %s\n", "unpacked", "packed", "ratio",
              "method", "crc", "modified (UTC)", "flags", "vol", "name");
  std::uint64_t unpacked = 0, packed = 0;
  for (const Row& row : rows) {
    std::printf("%10u %10u %6s %-10s %-8s %-19s %-5s %3d  %s\n", row.unpacked, row.packed,
                Ratio(row.packed, row.unpacked).c_str(), MethodName(row.method).c_str(),
                Hex(row.crc).c_str(), TimeText(row.time).c_str(), FlagLetters(row.flags).c_str(),
                row.volume, TerminalText(row.name).c_str());
    unpacked += row.unpacked;
    packed += row.packed;
  }
  std::printf("%10llu %10llu %6s %zu member%s\n", static_cast<unsigned long long>(unpacked),
              static_cast<unsigned long long>(packed), Ratio(packed, unpacked).c_str(), rows.size(),
              rows.size() == 1 ? "" : "s");
}

void PrintJson(const std::string& archive, const std::vector<Row>& rows) {
  nlohmann::ordered_json members = nlohmann::ordered_json::array();
  for (const Row& row : rows) {
    // Stored names are code-page bytes: each byte is the character of its
    // number, as in the machine's JSON files, so that every name comes back.
    members.push_back({{"name", sim::BytesToJson(row.name)},
                       {"unpacked", row.unpacked},
                       {"packed", row.packed},
                       {"method", MethodName(row.method)},
                       {"crc", Hex(row.crc)},
                       {"modified", TimeText(row.time)},
                       {"flags", FlagNames(row.flags)},
                       {"volume", row.volume}});
  }
  const nlohmann::ordered_json document = {{"archive", archive}, {"members", members}};
  // The archive's host path need not be UTF-8 either: shown, not thrown on.
  std::cout << document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << "\n";
}

}  // namespace

int ListArchive(const ArchiveOptions& options) {
  HostDrives drives(DrivesFor(options));
  const std::optional<std::string> name = ArchiveDosName(drives, options);
  if (!name) return Complain(options.archive + ": no drive reaches it", kExitUsage);
  archive::ArchiveLibrary library(drives.files());
  ArchiveSession session(drives, false);
  library.ArchiveSetCallback(archive::kProgressCallbackCode, session.Callback());
  if (const Status checked = library.ArchiveCheck(*name); checked != Status::kOk) {
    return Complain(options.archive + ": " + std::string(StatusMessage(checked)), kExitUsage);
  }
  std::vector<Row> rows;
  session.SetHook([&](MemberRecord& record, std::int32_t event, std::int32_t) {
    if (event != event::kAboutToExtract) return 0;
    rows.push_back({MemberName(record.name_view()), record.unpacked_size, record.packed_size,
                    record.method, record.crc, record.modification_time, record.flags,
                    record.volume_number()});
    return 1;
  });
  library.ArchiveOpen(*name, archive::kModeKeepPaths | archive::kModeReadOnly);
  library.ArchiveSelectExtract("*.*", "");
  const Status walked = library.ArchiveProcess();
  library.ArchiveClose();
  if (options.json) {
    PrintJson(options.archive, rows);
  } else {
    PrintTable(rows);
  }
  return WalkEnded(options, session, walked);
}

}  // namespace qv::arq
