// The archive library's worker pool as a Windows program under Wine: the
// threads of the Windows builds wait and wake through another C++ library
// than the Linux ones.
#include <gtest/gtest.h>

#include "tests/wine/wine_prefix.h"

namespace qv::wine_test {
namespace {

TEST(WorkerPoolUnderWine, AThousandPoolsStartAndStopWithoutHanging) {
  if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  const arq_test::ArqFolder folder;
  const arq_test::ArqResult run =
      TheWinePrefix().Run(folder.path(), QV_WIN64_WORKER_POOL_CHECK, "1000");
  EXPECT_EQ(run.exit_code, 0) << "124: hung; " << run.err;
  EXPECT_EQ(run.out, "1000 pools started and stopped\r\n");
}

}  // namespace
}  // namespace qv::wine_test
