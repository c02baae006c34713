#include "sim/ram_drive.h"

#include <string_view>

namespace qv::sim {
namespace {

constexpr std::string_view kConfigFile = "C:\\config.sys";
constexpr std::string_view kHimemLine = "device=c:\\windows\\himem.sys\n";
constexpr std::string_view kRamDriveLine = "device=c:\\windows\\ramdrive.sys 16384 /E\n";
// The system's own reader has no 127-character limit.
constexpr std::size_t kLongestLine = 4096;

}  // namespace

bool ConfigAsksForRamDrive(platform::Files& files) {
  platform::Result<platform::Stream> config = files.Open(kConfigFile, "rt");
  if (!config) return false;
  bool himem = false, ramdrive = false;
  while (const std::optional<std::string> line = config->GetLine(kLongestLine)) {
    himem = himem || *line == kHimemLine;
    ramdrive = ramdrive || *line == kRamDriveLine;
  }
  return himem && ramdrive;
}

}  // namespace qv::sim
