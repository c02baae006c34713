#include "codec/status.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(StatusMessage, TableEndsAndOddEntries) {
  EXPECT_EQ(StatusMessage(Status::kError), "Error");
  EXPECT_EQ(StatusMessage(Status::kCrcError), "CRC32 error");
  EXPECT_EQ(StatusMessage(Status::kInvalidDrive), "Invalild drive");
  EXPECT_EQ(StatusMessage(Status::kInsufficientSpace), "Insufficient disk space");
}

TEST(StatusMessage, OutsideTheTableIsPlainError) {
  EXPECT_EQ(StatusMessage(0), "Error");
  EXPECT_EQ(StatusMessage(-34), "Error");
  EXPECT_EQ(StatusMessage(5), "Error");
}

}  // namespace
}  // namespace qv
