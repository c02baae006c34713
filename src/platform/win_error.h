// The system's error vocabulary: Win32 error codes as the thread's last error
// keeps them, the system's own English message text for each (what
// FormatMessageA gives for FORMAT_MESSAGE_FROM_SYSTEM), and the C run time's
// errno values with the mapping the run time applies when a system call under
// it fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv::platform {

// Any 32-bit code can be held; the named ones are those the ports produce.
enum class WinError : std::uint32_t {
  kSuccess = 0,
  kInvalidFunction = 1,
  kFileNotFound = 2,
  kPathNotFound = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kInvalidHandle = 6,
  kNotEnoughMemory = 8,
  kInvalidDrive = 15,
  kCurrentDirectory = 16,
  kNotSameDevice = 17,
  kNoMoreFiles = 18,
  kWriteProtect = 19,
  kNotReady = 21,
  kWriteFault = 29,
  kSharingViolation = 32,
  kHandleDiskFull = 39,
  kNotSupported = 50,
  kFileExists = 80,
  kCannotMake = 82,
  kInvalidParameter = 87,
  kDiskFull = 112,
  kCallNotImplemented = 120,
  kInsufficientBuffer = 122,
  kInvalidName = 123,
  kNegativeSeek = 131,
  kDirNotEmpty = 145,
  kBadPathname = 161,
  kAlreadyExists = 183,
  kFilenameExcedRange = 206,
  kMoreData = 234,
  kDirectory = 267,
  kNoAccess = 998,
  kBadKey = 1010,
  kCantOpen = 1011,
  kCantRead = 1012,
  kCantWrite = 1013,
  kShutdownInProgress = 1115,
  kCancelled = 1223,
  kPrivilegeNotHeld = 1314,
};

// errno values of the instrument's C run time (they differ from the host's
// above 34, so they are this layer's own numbers).
enum class Errno : int {
  kNone = 0,
  kEPERM = 1,
  kENOENT = 2,
  kE2BIG = 7,
  kENOEXEC = 8,
  kEBADF = 9,
  kECHILD = 10,
  kEAGAIN = 11,
  kENOMEM = 12,
  kEACCES = 13,
  kEEXIST = 17,
  kEXDEV = 18,
  kEINVAL = 22,
  kEMFILE = 24,
  kENOSPC = 28,
  kEPIPE = 32,
  kENOTEMPTY = 41,
};

constexpr std::uint32_t ToCode(WinError error) {
  return static_cast<std::uint32_t>(error);
}
constexpr int ToInt(Errno value) {
  return static_cast<int>(value);
}

// The system's message for a code, byte for byte with its closing CR LF, for
// example "Access is denied.\r\n"; nullopt for a code the system has no text
// for (FormatMessageA then fails).
std::optional<std::string_view> SystemMessage(WinError error);

// The errno the C run time sets when a system call under it fails with the
// code (its table of DOS errors; codes it does not list give EINVAL).
Errno ErrnoFor(WinError error);

}  // namespace qv::platform
