// Whether the instrument has memory enough for a RAM drive.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace qv::instrument {

// 32 MiB: the memory must be strictly above it.
inline constexpr std::uint64_t kRamDriveMemoryThreshold = 33'554'432;

inline bool MemoryCheck(platform::System& system) {
  return system.PhysicalMemory() > kRamDriveMemoryThreshold;
}

}  // namespace qv::instrument
