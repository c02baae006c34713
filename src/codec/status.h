// The archive library's and the codec's 16-bit status codes and their fixed
// message table. Every status the library returns lies in -1 ... -33; 0 is
// success.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

enum class Status : std::int16_t {
  kOk = 0,
  kError = -1,
  kError2 = -2,
  kNoMemory = -3,
  kFileNotFound = -4,
  kNotAnArchive = -5,
  kCorruptHeader = -6,
  kCrcError = -7,
  kCannotOpen = -8,
  kIncompatibleVersion = -9,
  kEndOfArchive = -10,
  kAlreadyOpen = -11,
  kReadError = -12,
  kWriteError = -13,
  kBadArgument = -14,
  kCannotCreate = -15,
  kUncompressable = -16,
  kTooManyHandles = -17,
  kWriteProtected = -18,
  kInvalidDrive = -19,
  kInvalidMedia = -20,
  kCannotResetController = -21,
  kCannotFormatTrack = -22,
  kCannotVerifyTrack = -23,
  kDriveNotResponding = -24,
  kBootSectorWriteError = -25,
  kFatWriteError = -26,
  kRootDirectoryWriteError = -27,
  kSystemFilesWriteError = -28,
  kEncrypted = -29,
  kCanceled = -30,
  kDiskFull = -31,
  kNotSupported = -32,
  kInsufficientSpace = -33,
};

inline constexpr int kLowestStatus = -33;

// The message of a status; "Error" for anything outside the table.
std::string_view StatusMessage(Status status);
std::string_view StatusMessage(int status);

constexpr int ToInt(Status status) {
  return static_cast<int>(status);
}

}  // namespace qv
