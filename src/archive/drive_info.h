// What the library asks about drives, through the Files port: the drive a
// path lies on, whether it is removable, its free space and capacity, and
// whether a disk is in it. Drives are numbered from 0 for A:.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/files.h"

namespace qv::archive {

// The letter before ':' minus 'A', else the current drive.
int DriveOfPath(platform::Files& files, std::string_view path);
bool IsRemovableDrive(platform::Files& files, int drive);
// Bytes free, or -1 when the drive cannot tell.
std::int64_t FreeSpace(platform::Files& files, int drive);
// Bytes in all, or -1 when the drive cannot tell.
std::int64_t Capacity(platform::Files& files, int drive);
bool DriveReady(platform::Files& files, int drive);

// How often a person is asked for a disk before the operation gives up.
inline constexpr int kDiskPrompts = 10;

}  // namespace qv::archive
