#include "codec/status.h"

#include <array>

namespace qv {
namespace {

// Entry i is the message of status -(i + 1). The spelling of "Invalild drive"
// is the system's own and stays as it is.
constexpr std::array<std::string_view, 33> kMessages = {
    "Error",
    "Error",
    "Memory allocation error",
    "File does not exist",
    "Not an archive or corrupt",
    "Corrupt header",
    "CRC32 error",
    "Unable to open file",
    "Incompatible archive version",
    "End of archive",
    "Archive already open",
    "Read error",
    "Write error",
    "Bad argument",
    "Unable to create file",
    "Data in buffer is uncompressable",
    "Max number of file handles exceeded",
    "Write protected",
    "Invalild drive",
    "Invalid media",
    "Unable to reset controller",
    "Unable to format track",
    "Unable to verify track",
    "Drive not responding",
    "Error writing to boot sector",
    "Error writing FAT table",
    "Error writing root directory",
    "Error writing system files",
    "File is encrypted",
    "Canceled",
    "Disk full",
    "Feature not supported",
    "Insufficient disk space",
};

}  // namespace

std::string_view StatusMessage(int status) {
  if (status >= 0 || status < kLowestStatus) return kMessages[0];
  return kMessages[static_cast<std::size_t>(-status - 1)];
}

std::string_view StatusMessage(Status status) {
  return StatusMessage(ToInt(status));
}

}  // namespace qv
