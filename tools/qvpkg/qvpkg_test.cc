// qvpkg run as a program: build, inspect and install, exit codes, one-line
// errors, and no partial package after a refusal.
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "sim/new_machine.h"

namespace qv::qvpkg {
namespace {

namespace fs = std::filesystem;

class QvpkgTest : public ::testing::Test {
 protected:
  QvpkgTest() {
    std::string pattern = (fs::temp_directory_path() / "qvpkg-cli-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    Write("tree/scope/bin/qv7311x.exe", "new scope");
    Write("tree/scope/cal/gain.cal", std::string(5000, 'g'));
    Write("tree/readme.txt", "read me");
  }
  ~QvpkgTest() override { fs::remove_all(folder_); }

  void Write(const std::string& relative, const std::string& bytes) {
    fs::create_directories((folder_ / relative).parent_path());
    std::ofstream(folder_ / relative, std::ios::binary) << bytes;
  }

  // Runs qvpkg with the arguments (paths relative to the test's folder).
  int Run(const std::string& arguments) {
    const std::string command = "cd " + folder_.string() + " && " + QVPKG_PATH + " " + arguments +
                                " >stdout 2>stderr </dev/null";
    const int status = std::system(command.c_str());
    output_ = Read(folder_ / "stdout");
    errors_ = Read(folder_ / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  fs::path folder_;
  std::string output_;
  std::string errors_;
};

TEST_F(QvpkgTest, BuildInspectAndInstall) {
  ASSERT_EQ(Run("build tree --part-number QV7310-62001 -o out"), 0) << errors_;
  EXPECT_TRUE(Has(output_, "built QV7310-62001: out/qv731upg.arq (3 files,"));
  EXPECT_EQ(fs::file_size(folder_ / "out/qv731upg.hdr"), 52u);
  const std::string header = Read(folder_ / "out/qv731upg.hdr");
  EXPECT_EQ(header.substr(0, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(header.substr(12, 13), "QV7310-62001" + std::string(1, '\0'));
  EXPECT_EQ(header.substr(26, 13), "qv731upg.arq" + std::string(1, '\0'));
  // Bytes 4 to 11: the archive's length and CRC-32.
  const std::uint32_t length = static_cast<std::uint8_t>(header[4]) |
                               static_cast<std::uint8_t>(header[5]) << 8 |
                               static_cast<std::uint8_t>(header[6]) << 16;
  EXPECT_EQ(length, fs::file_size(folder_ / "out/qv731upg.arq"));

  ASSERT_EQ(Run("inspect out"), 0) << errors_;
  EXPECT_TRUE(Has(output_, "pending      1\n"));
  EXPECT_TRUE(Has(output_, "part number  QV7310-62001\n"));
  EXPECT_TRUE(Has(output_, "archive      qv731upg.arq\n"));
  EXPECT_TRUE(Has(output_, ": the archive matches\n"));
  EXPECT_TRUE(Has(output_, "stored      "));
  EXPECT_TRUE(Has(output_, "  SCOPE\\BIN\\QV7311X.EXE\n"));
  EXPECT_TRUE(Has(output_, "3 members\n"));

  sim::WriteNewMachine(folder_ / "m", {});
  ASSERT_EQ(Run("install out m"), 0) << errors_;
  EXPECT_EQ(Read(folder_ / "m/drives/C/scope/upgrade/scope/temp/qv731upg.hdr"), header);

  // A changed archive is found out, and not installed.
  Write("out/qv731upg.arq", Read(folder_ / "out/qv731upg.arq") + "x");
  EXPECT_EQ(Run("inspect out"), 1);
  EXPECT_TRUE(Has(output_, "the archive does NOT match"));
  EXPECT_EQ(Run("install out m"), 1);
  EXPECT_EQ(errors_, "qvpkg: out/qv731upg.arq: not the archive its header was written for\n");
}

TEST_F(QvpkgTest, BestBuildsASmallerPackageThatInstallsTheSame) {
  std::string text;
  for (int line = 0; text.size() < 60'000; ++line)
    text +=
        "probe " + std::to_string(line % 97) + " trigger level " + std::to_string(line % 13) + "\n";
  Write("tree/scope/cal/levels.txt", text);
  ASSERT_EQ(Run("build tree --part-number QV7310-62001 -o lazy"), 0) << errors_;
  ASSERT_EQ(Run("build tree --part-number QV7310-62001 -o best --best"), 0) << errors_;
  EXPECT_LT(fs::file_size(folder_ / "best/qv731upg.arq"),
            fs::file_size(folder_ / "lazy/qv731upg.arq"));
  ASSERT_EQ(Run("inspect best"), 0) << errors_;
  EXPECT_TRUE(Has(output_, ": the archive matches\n"));
  sim::WriteNewMachine(folder_ / "m", {});
  ASSERT_EQ(Run("install best m"), 0) << errors_;
}

TEST_F(QvpkgTest, BadInputIsRefusedWithOneLineAndNoPartialPackage) {
  EXPECT_EQ(Run("build tree --part-number QV7310-6200123 -o out"), 1);
  EXPECT_EQ(errors_, "qvpkg: the part number \"QV7310-6200123\" is longer than 13 characters\n");
  EXPECT_EQ(Run("build none --part-number QV7310-62001 -o out"), 1);
  EXPECT_EQ(errors_, "qvpkg: \"none\": no such folder\n");
  Write("tree/scope/bin/Gain.cal", "");
  Write("tree/scope/bin/GAIN.CAL", "");
  EXPECT_EQ(Run("build tree --part-number QV7310-62001 -o out"), 1);
  EXPECT_TRUE(Has(errors_, ": names that differ only in case\n"));
  EXPECT_FALSE(fs::exists(folder_ / "out"));

  // An earlier package in the output folder stays as it was.
  fs::remove(folder_ / "tree/scope/bin/GAIN.CAL");
  ASSERT_EQ(Run("build tree --part-number QV7310-62001 -o out"), 0);
  const std::string archive = Read(folder_ / "out/qv731upg.arq");
  Write("tree/scope/bin/bad|name", "");
  EXPECT_EQ(Run("build tree --part-number QV7310-62002 -o out"), 1);
  EXPECT_EQ(Read(folder_ / "out/qv731upg.arq"), archive);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "out"), fs::directory_iterator()), 2);
  fs::remove(folder_ / "tree/scope/bin/bad|name");
  // A device name is a device on the instrument: writing it loses the file.
  Write("tree/scope/bin/Aux.dat", "");
  EXPECT_EQ(Run("build tree --part-number QV7310-62002 -o out"), 1);
  EXPECT_TRUE(Has(errors_, "Aux.dat\": the name is a device on the instrument, not a file\n"))
      << errors_;
  EXPECT_EQ(Read(folder_ / "out/qv731upg.arq"), archive);
  fs::remove(folder_ / "tree/scope/bin/Aux.dat");
  EXPECT_EQ(Run("build tree --part-number QV7310-62002 -o tree/out"), 1);
  EXPECT_EQ(errors_, "qvpkg: tree/out: the output folder lies inside the tree\n");

  EXPECT_EQ(Run("install out none"), 1);
  EXPECT_EQ(errors_, "qvpkg: none: no machine.json (not a machine folder)\n");
  EXPECT_EQ(Run("inspect none"), 1);
  EXPECT_EQ(errors_, "qvpkg: none: no such folder\n");
  EXPECT_EQ(Run("build tree -o out"), 2);
  EXPECT_EQ(Run(""), 2);
  EXPECT_EQ(Run("build --help"), 0);
  EXPECT_TRUE(Has(output_, "--part-number"));
  EXPECT_EQ(Run("--version"), 0);
  EXPECT_TRUE(output_.starts_with("qvpkg ")) << output_;
}

}  // namespace
}  // namespace qv::qvpkg
