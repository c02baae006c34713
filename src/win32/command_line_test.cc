#include "win32/command_line.h"

#include <gtest/gtest.h>

namespace qv::win32 {
namespace {

TEST(ArgumentsOf, FollowTheProgramsNameAndTheBlanksAfterIt) {
  EXPECT_EQ(ArgumentsOf("C:\\scope\\bin\\qv731Ldr.exe /autostart /usb"), "/autostart /usb");
  EXPECT_EQ(ArgumentsOf("qv731Ldr.exe \t  /noram  "), "/noram  ");
  // A quoted name may hold blanks; what follows the quote right away counts.
  EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\qv731Ldr.exe\" /usb"), "/usb");
  EXPECT_EQ(ArgumentsOf("\"C:\\a b\\x.exe\"/usb"), "/usb");
  EXPECT_EQ(ArgumentsOf("qv731Ldr.exe"), "");
  EXPECT_EQ(ArgumentsOf("\"C:\\unclosed /usb"), "");
  EXPECT_EQ(ArgumentsOf(""), "");
}

}  // namespace
}  // namespace qv::win32
