#include "sim/ram_drive.h"

#include <string_view>

namespace qv::sim {
namespace {

constexpr std::string_view kConfigFile = "C:\\config.sys";
constexpr std::string_view kHimemLine = "device=c:\\windows\\himem.sys\n";
constexpr std::string_view kRamDriveLine = "device=c:\\windows\\ramdrive.sys 16384 /E\n";
// The system's own reader has no 127-character limit: a line in pieces is
// one line, which none of its later pieces stands for.
constexpr std::size_t kPieceLength = 4096;

}  // namespace

bool ConfigAsksForRamDrive(platform::Files& files) {
  platform::Result<platform::Stream> config = files.Open(kConfigFile, "rt");
  if (!config) return false;
  bool himem = false, ramdrive = false;
  bool starts_line = true;
  while (const std::optional<std::string> piece = config->GetLine(kPieceLength)) {
    if (starts_line) {
      himem = himem || *piece == kHimemLine;
      ramdrive = ramdrive || *piece == kRamDriveLine;
    }
    starts_line = piece->back() == '\n';
  }
  return himem && ramdrive;
}

}  // namespace qv::sim
