// qvsim run as a program: exit codes, one-line errors, and a machine that
// reads back.
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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

  // Runs qvsim with the arguments; keeps what it wrote.
  int Run(const std::string& arguments) {
    const std::string command = std::string(QVSIM_PATH) + " " + arguments + " >" +
                                (folder_ / "stdout").string() + " 2>" +
                                (folder_ / "stderr").string() + " </dev/null";
    const int status = std::system(command.c_str());
    output_ = Read(folder_ / "stdout");
    errors_ = Read(folder_ / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Read(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path folder_;
  std::string output_;
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
  EXPECT_EQ(Run("--version"), 0);
}

TEST_F(QvsimTest, BootShowsTheTranscriptAndShowPrintsTheLastScreen) {
  const fs::path machine = folder_ / "m";
  ASSERT_EQ(Run("new " + machine.string() + " --model 0"), 0);
  EXPECT_EQ(Run("show " + machine.string()), 1);
  EXPECT_EQ(errors_,
            "qvsim: " + machine.string() + ": no screen picture yet (boot the machine first)\n");

  ASSERT_EQ(Run("boot " + machine.string() + " -- -usb /noram"), 0);
  EXPECT_EQ(errors_, "");
  EXPECT_NE(output_.find("    0.000 s  draw (10, 10) \"Who am I???\"\n"), std::string::npos)
      << output_;
  EXPECT_NE(output_.find("last screen: " + (machine / "state" / "screen-001.png").string()),
            std::string::npos);
  EXPECT_EQ(Read(machine / "state" / "transcript.txt"),
            output_.substr(0, output_.find("transcript: ")));
  // Minimised, the window shows nothing of what was drawn on it.
  ASSERT_EQ(Run("show " + machine.string()), 0);
  EXPECT_EQ(output_, "(the main window shows no status line)\n");
}

TEST_F(QvsimTest, RunBootsUntilTheScopeApplicationStarts) {
  const fs::path machine = folder_ / "m";
  ASSERT_EQ(Run("new " + machine.string()), 0);
  ASSERT_EQ(Run("run " + machine.string()), 0);
  EXPECT_EQ(output_.find("--- boot 1 ---\n"), 0u);
  EXPECT_EQ(output_.find("--- boot 2 ---"), std::string::npos);
  EXPECT_NE(output_.find("the scope application was started\n"), std::string::npos);

  EXPECT_EQ(Run("boot " + folder_.string()), 1);
  EXPECT_EQ(errors_, "qvsim: " + folder_.string() + ": no machine.json (not a machine folder)\n");
}

TEST_F(QvsimTest, RunBootsAgainAfterAnAcceptedRebootAndTheDisplayKeepsItsStoredMode) {
  const fs::path machine = folder_ / "m";
  ASSERT_EQ(Run("new " + machine.string()), 0);
  // A 256-colour display that takes 24 bits only after a restart.
  nlohmann::json config = nlohmann::json::parse(Read(machine / "machine.json"));
  config["display"] = {{"bits_per_pixel", 8}, {"change_result", 1}};
  std::ofstream(machine / "machine.json") << config.dump(2);
  ASSERT_EQ(Run("run " + machine.string()), 0);
  EXPECT_NE(output_.find("display change to 24 bits: result 1"), std::string::npos);
  EXPECT_NE(output_.find("the instrument restarts\n--- boot 2 ---"), std::string::npos);
  EXPECT_EQ(output_.find("--- boot 3 ---"), std::string::npos);
  EXPECT_EQ(output_.find("display change", output_.find("--- boot 2 ---")), std::string::npos);
  EXPECT_NE(output_.find("the scope application was started\n"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(Read(machine / "machine.json"))["display"]["bits_per_pixel"], 24);
}

TEST_F(QvsimTest, CutAfterCutsThePowerOfEachBootInTurn) {
  const fs::path machine = folder_ / "m";
  ASSERT_EQ(Run("new " + machine.string()), 0);
  ASSERT_EQ(Run("boot " + machine.string() + " --cut-after 1"), 0);
  EXPECT_NE(output_.find("power_cut\n"), std::string::npos) << output_;
  EXPECT_NE(Read(machine / "state" / "transcript.jsonl").find("\"event\":\"power_cut\""),
            std::string::npos);

  ASSERT_EQ(Run("run " + machine.string() + " --cut-after 1,1"), 0);
  EXPECT_NE(output_.find("the power was cut; it comes back\n--- boot 2 ---"), std::string::npos)
      << output_;
  EXPECT_NE(output_.find("the power was cut; it comes back\n--- boot 3 ---"), std::string::npos);
  EXPECT_NE(output_.find("the scope application was started\n"), std::string::npos);
  EXPECT_EQ(Run("boot " + machine.string() + " --cut-after 0"), 2);
}

}  // namespace
}  // namespace qv::qvsim
