#include "platform/win_error.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qv::platform {
namespace {

struct MessageEntry {
  std::uint32_t code;
  std::string_view text;
};

// Sorted by code.
constexpr std::array<MessageEntry, 41> kMessages = {{
    {0, "The operation completed successfully.\r\n"},
    {1, "Incorrect function.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {4, "The system cannot open the file.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {8, "Not enough storage is available to process this command.\r\n"},
    {15, "The system cannot find the drive specified.\r\n"},
    {16, "The directory cannot be removed.\r\n"},
    {17, "The system cannot move the file to a different disk drive.\r\n"},
    {18, "There are no more files.\r\n"},
    {19, "The media is write protected.\r\n"},
    {21, "The device is not ready.\r\n"},
    {29, "The system cannot write to the specified device.\r\n"},
    {32, "The process cannot access the file because it is being used by another process.\r\n"},
    {39, "The disk is full.\r\n"},
    {50, "The request is not supported.\r\n"},
    {80, "The file exists.\r\n"},
    {82, "The directory or file cannot be created.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {112, "There is not enough space on the disk.\r\n"},
    {120, "This function is not supported on this system.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {131, "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {145, "The directory is not empty.\r\n"},
    {161, "The specified path is invalid.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {206, "The filename or extension is too long.\r\n"},
    {234, "More data is available.\r\n"},
    {267, "The directory name is invalid.\r\n"},
    {998, "Invalid access to memory location.\r\n"},
    {1010, "The configuration registry key is invalid.\r\n"},
    {1011, "The configuration registry key could not be opened.\r\n"},
    {1012, "The configuration registry key could not be read.\r\n"},
    {1013, "The configuration registry key could not be written.\r\n"},
    {1115, "A system shutdown is in progress.\r\n"},
    {1223, "The operation was canceled by the user.\r\n"},
    {1314, "A required privilege is not held by the client.\r\n"},
    {1816, "Not enough quota is available to process this command.\r\n"},
}};

// The run time's table of DOS errors; codes not listed map to EINVAL.
constexpr std::array<std::pair<std::uint32_t, Errno>, 45> kErrnoTable = {{
    {1, Errno::kEINVAL},   {2, Errno::kENOENT},   {3, Errno::kENOENT},   {4, Errno::kEMFILE},
    {5, Errno::kEACCES},   {6, Errno::kEBADF},    {7, Errno::kENOMEM},   {8, Errno::kENOMEM},
    {9, Errno::kENOMEM},   {10, Errno::kE2BIG},   {11, Errno::kENOEXEC}, {12, Errno::kEINVAL},
    {13, Errno::kEINVAL},  {15, Errno::kENOENT},  {16, Errno::kEACCES},  {17, Errno::kEXDEV},
    {18, Errno::kENOENT},  {33, Errno::kEACCES},  {53, Errno::kENOENT},  {65, Errno::kEACCES},
    {67, Errno::kENOENT},  {80, Errno::kEEXIST},  {82, Errno::kEACCES},  {83, Errno::kEACCES},
    {87, Errno::kEINVAL},  {89, Errno::kEAGAIN},  {108, Errno::kEACCES}, {109, Errno::kEPIPE},
    {112, Errno::kENOSPC}, {114, Errno::kEBADF},  {128, Errno::kECHILD}, {129, Errno::kECHILD},
    {130, Errno::kEBADF},  {131, Errno::kEINVAL}, {132, Errno::kEACCES}, {145, Errno::kENOTEMPTY},
    {158, Errno::kEACCES}, {161, Errno::kENOENT}, {164, Errno::kEAGAIN}, {167, Errno::kEACCES},
    {183, Errno::kEEXIST}, {206, Errno::kENOENT}, {215, Errno::kEAGAIN}, {1816, Errno::kENOMEM},
    {0, Errno::kNone},
}};

// Ranges the run time maps as a whole: write-protect to sharing-buffer
// errors are access errors, bad executable formats are ENOEXEC.
constexpr std::uint32_t kFirstAccessRange = 19, kLastAccessRange = 36;
constexpr std::uint32_t kFirstExecRange = 188, kLastExecRange = 202;

}  // namespace

std::optional<std::string_view> SystemMessage(WinError error) {
  const std::uint32_t code = ToCode(error);
  const auto found =
      std::lower_bound(kMessages.begin(), kMessages.end(), code,
                       [](const MessageEntry& e, std::uint32_t c) { return e.code < c; });
  if (found == kMessages.end() || found->code != code) return std::nullopt;
  return found->text;
}

Errno ErrnoFor(WinError error) {
  const std::uint32_t code = ToCode(error);
  for (const auto& [listed, value] : kErrnoTable) {
    if (listed == code) return value;
  }
  if (code >= kFirstAccessRange && code <= kLastAccessRange) return Errno::kEACCES;
  if (code >= kFirstExecRange && code <= kLastExecRange) return Errno::kENOEXEC;
  return Errno::kEINVAL;
}

}  // namespace qv::platform
