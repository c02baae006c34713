#include "platform/win_error.h"

#include <gtest/gtest.h>

namespace qv::platform {
namespace {

TEST(SystemMessage, TextsAreTheSystemsBytesWithTheirLineEnd) {
  struct Case {
    WinError error;
    std::string_view text;
  };
  const Case cases[] = {
      {WinError::kSuccess, "The operation completed successfully.\r\n"},
      {WinError::kFileNotFound, "The system cannot find the file specified.\r\n"},
      {WinError::kPathNotFound, "The system cannot find the path specified.\r\n"},
      {WinError::kAccessDenied, "Access is denied.\r\n"},
      {WinError::kFileExists, "The file exists.\r\n"},
      {WinError::kDirNotEmpty, "The directory is not empty.\r\n"},
      {WinError::kAlreadyExists, "Cannot create a file when that file already exists.\r\n"},
      {WinError::kSharingViolation,
       "The process cannot access the file because it is being used by another process.\r\n"},
      {WinError::kPrivilegeNotHeld, "A required privilege is not held by the client.\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SystemMessage(c.error), c.text) << ToCode(c.error);
}

TEST(SystemMessage, CodesWithoutTextHaveNone) {
  EXPECT_FALSE(SystemMessage(static_cast<WinError>(7777)).has_value());
  EXPECT_FALSE(SystemMessage(static_cast<WinError>(0xFFFFFFFF)).has_value());
}

TEST(ErrnoFor, FollowsTheRunTimesTable) {
  EXPECT_EQ(ErrnoFor(WinError::kFileNotFound), Errno::kENOENT);
  EXPECT_EQ(ErrnoFor(WinError::kPathNotFound), Errno::kENOENT);
  EXPECT_EQ(ErrnoFor(WinError::kAccessDenied), Errno::kEACCES);
  EXPECT_EQ(ErrnoFor(WinError::kFileExists), Errno::kEEXIST);
  EXPECT_EQ(ErrnoFor(WinError::kAlreadyExists), Errno::kEEXIST);
  EXPECT_EQ(ErrnoFor(WinError::kDirNotEmpty), Errno::kENOTEMPTY);
  EXPECT_EQ(ErrnoFor(WinError::kNotSameDevice), Errno::kEXDEV);
  EXPECT_EQ(ErrnoFor(WinError::kDiskFull), Errno::kENOSPC);
  // Whole ranges: sharing and device errors are access errors.
  EXPECT_EQ(ErrnoFor(WinError::kNotReady), Errno::kEACCES);
  EXPECT_EQ(ErrnoFor(WinError::kSharingViolation), Errno::kEACCES);
  // Anything the table does not list is EINVAL.
  EXPECT_EQ(ErrnoFor(WinError::kInvalidName), Errno::kEINVAL);
  EXPECT_EQ(ErrnoFor(WinError::kDirectory), Errno::kEINVAL);
}

}  // namespace
}  // namespace qv::platform
