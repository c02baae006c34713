#include "tools/qvpkg/package_builder.h"

#include <stdlib.h>

#include <fstream>
#include <map>

#include <gtest/gtest.h>

namespace qv::qvpkg {
namespace {

namespace fs = std::filesystem;

class PackageBuilderTest : public ::testing::Test {
 protected:
  PackageBuilderTest() {
    std::string pattern = (fs::temp_directory_path() / "qvpkg-build-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    fs::create_directories(folder_ / "tree/scope/bin");
    std::ofstream(folder_ / "tree/scope/bin/qv7311x.exe", std::ios::binary)
        << std::string(20000, 'a') + "the rest";
    std::ofstream(folder_ / "tree/readme.txt", std::ios::binary) << "readme";
  }
  ~PackageBuilderTest() override { fs::remove_all(folder_); }

  fs::path folder_;
};

// The progress line of a long build depends on hearing each file's packing
// as it goes and its end, whichever encoder packs it.
TEST_F(PackageBuilderTest, TheProgressCallbackHearsEveryFileAsItIsPacked) {
  for (const bool best : {false, true}) {
    SCOPED_TRACE(best ? "best" : "lazy");
    std::map<std::string, int> progress;
    std::map<std::string, int> added;
    BuildRequest request;
    request.tree = folder_ / "tree";
    request.part_number = "QV7310-62001";
    request.output = folder_ / (best ? "best" : "lazy");
    request.best = best;
    request.progress = [&](MemberRecord& record, std::int32_t event, std::int32_t) {
      const std::string name(record.name_view());
      if (event == event::kAddProgress) ++progress[name];
      if (event == event::kAdded) ++added[name];
      return 0;
    };
    const BuiltPackage built = BuildPackage(request);
    ASSERT_EQ(built.members.size(), 2u);
    EXPECT_EQ(added.size(), 2u);
    for (const auto& [name, count] : added) {
      EXPECT_EQ(count, 1) << name;
      EXPECT_GE(progress[name], 1) << name;
    }
  }
}

}  // namespace
}  // namespace qv::qvpkg
