// The instrument's system makes the RAM drive d:\ at boot from two lines of
// c:\config.sys. The lines are compared as the loader writes them: whole
// lines ending in a line feed, exactly and with case.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv::sim {

inline constexpr char kRamDriveLetter = 'D';
inline constexpr std::uint64_t kRamDriveBytes = 16384 * 1024;
inline constexpr std::uint32_t kRamDriveClusterBytes = 512;

// True when c:\config.sys holds both the himem line and the ramdrive line,
// each at least once and as a whole line (how often does not matter).
bool ConfigAsksForRamDrive(platform::Files& files);

}  // namespace qv::sim
