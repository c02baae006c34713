#include "tools/qvpkg/package_tree.h"

#include <stdlib.h>

#include <fstream>

#include <gtest/gtest.h>

namespace qv::qvpkg {
namespace {

namespace fs = std::filesystem;

class PackageTreeTest : public ::testing::Test {
 protected:
  PackageTreeTest() {
    std::string pattern = (fs::temp_directory_path() / "qvpkg-tree-XXXXXX").string();
    tree_ = ::mkdtemp(pattern.data());
  }
  ~PackageTreeTest() override { fs::remove_all(tree_); }

  void Write(const std::string& relative, const std::string& bytes = "x") {
    fs::create_directories((tree_ / relative).parent_path());
    std::ofstream(tree_ / relative, std::ios::binary) << bytes;
  }

  // The reason the tree is refused, or "" when it is not.
  std::string Refusal() {
    try {
      ScanPackageTree(tree_);
      return "";
    } catch (const TreeRefused& refused) {
      return refused.what();
    }
  }

  fs::path tree_;
};

TEST_F(PackageTreeTest, ListsTheFilesInTheInstrumentsOrderWithBackslashes) {
  Write("scope/bin/b.exe", "bb");
  Write("scope/bin/A.dll");
  Write("readme.txt");
  Write("lan/setup.bat");
  fs::create_directories(tree_ / "empty");
  std::vector<std::string> names;
  for (const TreeFile& file : ScanPackageTree(tree_))
    names.push_back(file.relative + " " + std::to_string(file.size));
  EXPECT_EQ(names, (std::vector<std::string>{"lan\\setup.bat 1", "readme.txt 1",
                                             "scope\\bin\\A.dll 1", "scope\\bin\\b.exe 2"}));
}

TEST_F(PackageTreeTest, RefusesWhatCouldNotBeHeldOrInstalled) {
  EXPECT_NE(Refusal().find("holds no file to install"), std::string::npos);

  Write("scope/bin/a?.exe");
  EXPECT_NE(Refusal().find("a?.exe\": the name is not one the instrument can hold"),
            std::string::npos);
  fs::remove(tree_ / "scope/bin/a?.exe");
  Write("scope/bin/dots.");
  EXPECT_NE(Refusal().find("the name is not one"), std::string::npos);
  fs::remove(tree_ / "scope/bin/dots.");
  for (const char* device : {"scope/bin/nul", "scope/com1.txt", "LPT9/x.dat", "scope/Con .log"}) {
    Write(device);
    EXPECT_NE(Refusal().find("the name is a device on the instrument"), std::string::npos)
        << device;
    fs::remove_all(tree_ / fs::path(device).begin()->string());
  }

  Write("scope/bin/App.exe");
  Write("scope/bin/APP.EXE");
  EXPECT_NE(Refusal().find("names that differ only in case"), std::string::npos);
  fs::remove(tree_ / "scope/bin/APP.EXE");
  EXPECT_EQ(Refusal(), "");

  Write("scope/Temp/x.dat");
  EXPECT_NE(Refusal().find("lies in a temp folder"), std::string::npos);
  fs::remove_all(tree_ / "scope/Temp");

  // 17 characters of C:\scope\upgrade\ and the path make at most 259.
  Write(std::string(242, 'a'));
  EXPECT_EQ(Refusal(), "");
  Write(std::string(243, 'b'));
  EXPECT_NE(Refusal().find("too long to be staged"), std::string::npos);
  fs::remove(tree_ / std::string(243, 'b'));

  fs::create_symlink("/etc/passwd", tree_ / "link");
  EXPECT_NE(Refusal().find("neither a file nor a folder"), std::string::npos);
  fs::remove(tree_ / "link");

  try {
    ScanPackageTree(tree_ / "missing");
    ADD_FAILURE() << "a missing tree was scanned";
  } catch (const TreeRefused& refused) {
    EXPECT_NE(std::string(refused.what()).find("missing\": no such folder"), std::string::npos);
  }
}

}  // namespace
}  // namespace qv::qvpkg
