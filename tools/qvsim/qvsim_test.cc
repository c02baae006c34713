// qvsim run as a program: exit codes, one-line errors, and a machine that
// reads back.
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "sim/machine.h"

namespace qv::qvsim {
namespace {

namespace fs = std::filesystem;

class QvsimTest : public ::testing::Test {
 protected:
  QvsimTest() {
    std::string pattern = (fs::temp_directory_path() / "qvsim-cli-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
  }
  ~QvsimTest() override { fs::remove_all(folder_); }

  // Runs qvsim with the arguments; keeps what it wrote to stderr.
  int Run(const std::string& arguments) {
    const std::string command = std::string(QVSIM_PATH) + " " + arguments + " >/dev/null 2>" +
                                (folder_ / "stderr").string();
    const int status = std::system(command.c_str());
    std::ifstream in(folder_ / "stderr");
    std::ostringstream text;
    text << in.rdbuf();
    errors_ = text.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path folder_;
  std::string errors_;
};

TEST_F(QvsimTest, NewMakesAMachineThatReadsBack) {
  const fs::path machine = folder_ / "m";
  ASSERT_EQ(Run("new " + machine.string() + " --model 4 --memory-mib 48 --floppy"), 0);
  EXPECT_EQ(errors_, "");
  sim::Machine opened(machine);
  EXPECT_EQ(opened.config().board.model_register, 4);
  EXPECT_EQ(opened.config().memory_bytes, 48u << 20);
  EXPECT_TRUE(opened.files().DriveReady('A'));
}

TEST_F(QvsimTest, FailuresExitNonZeroWithOneLine) {
  const fs::path machine = folder_ / "m";
  ASSERT_EQ(Run("new " + machine.string()), 0);
  EXPECT_EQ(Run("new " + machine.string()), 1);
  EXPECT_EQ(errors_,
            "qvsim: " + machine.string() + ": already exists and is not an empty folder\n");
  EXPECT_EQ(Run("new " + (folder_ / "n").string() + " --model 9"), 2);
  EXPECT_EQ(errors_, "qvsim: --model: Value 9 not in range 0 to 7\n");
  EXPECT_FALSE(fs::exists(folder_ / "n"));
  EXPECT_EQ(Run(""), 2);
  EXPECT_EQ(Run("new --help"), 0);
}

}  // namespace
}  // namespace qv::qvsim
