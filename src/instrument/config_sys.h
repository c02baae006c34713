// The two lines of c:\config.sys from which the system makes the RAM drive
// d:\ at boot, and the set-up that appends whichever of them is missing.
// Lines are read as the C run time reads them (pieces of 127 characters)
// and compared whole, exactly and with case, line feed included.
#pragma once

#include <string_view>

#include "platform/files.h"

namespace qv::instrument {

inline constexpr std::string_view kConfigSys = "c:\\config.sys";
inline constexpr std::string_view kHimemLine = "device=c:\\windows\\himem.sys\n";
inline constexpr std::string_view kRamDriveLine = "device=c:\\windows\\ramdrive.sys 16384 /E\n";

// What c:\config.sys holds of the two lines. A line counts only when it is
// whole: the first piece of a line, ending in its line feed. The file's
// last line without a line feed does not count, and leaves the file ending
// in an open line.
struct RamDriveLines {
  bool himem = false;
  bool ramdrive = false;
  bool ends_in_open_line = false;

  bool Complete() const { return himem && ramdrive; }
};

// Reads c:\config.sys; a file that does not open holds neither line.
RamDriveLines ReadRamDriveLines(platform::Files& files);

// Clears c:\config.sys's read-only attribute and appends the missing lines
// (himem first), each once, whatever number of the other lines the file
// holds. True when lines were appended, so that a reboot makes the drive;
// false when both were there, when a Ctrl-Z before the file's end would hide
// what is appended, or when nothing could be written, since a reboot would
// change nothing.
bool SetUpRamDriveLines(platform::Files& files);

}  // namespace qv::instrument
