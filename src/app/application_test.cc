#include "app/application.h"

#include <gtest/gtest.h>

namespace qv::app {
namespace {

TEST(ApplicationName, IsTheProgramFileNameWithoutFolderAndExtension) {
  EXPECT_EQ(ApplicationName("C:\\scope\\bin\\qv731Ldr.exe"), "qv731Ldr");
  EXPECT_EQ(ApplicationName("qv731Ldr.exe"), "qv731Ldr");
  EXPECT_EQ(ApplicationName("C:qv731Ldr.EXE"), "qv731Ldr");
  EXPECT_EQ(ApplicationName("C:\\scope.d\\bin\\loader"), "loader");
  EXPECT_EQ(ApplicationName("C:\\a\\b.c.exe"), "b.c");
}

}  // namespace
}  // namespace qv::app
