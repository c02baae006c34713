// The loader under Wine against the simulated instrument: the same machine
// booted on both, compared by the program the loader started (with its
// command line and current folder), the boxes it showed, and the files of
// drive C: afterwards.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "tests/arq_run.h"
#include "tests/scenario.h"
#include "tests/wine/wine_error_texts.h"
#include "tests/wine/wine_prefix.h"

namespace qv::wine_test {
namespace {

namespace fs = std::filesystem;

// The single-instance mutex of the loader.
constexpr const char* kInstanceMutex = "Vornkey";

// Wine's own folders of drive C:, which the simulated instrument lacks.
bool WineOwn(const fs::path& relative) {
  const std::string top = relative.begin()->string();
  return top == "windows" || top == "users" || top == "ProgramData" ||
         top.rfind("Program Files", 0) == 0;
}

// Every file below a drive's folder with its bytes, by its path there;
// programs (stand-ins under Wine) by name only.
std::map<std::string, std::string> FilesOf(const fs::path& drive) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(drive)) {
    const fs::path relative = entry.path().lexically_relative(drive);
    if (WineOwn(relative) || !entry.is_regular_file()) continue;
    std::string bytes = "(a program)";
    if (relative.extension() != ".exe") {
      std::ifstream in(entry.path(), std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    files[relative.generic_string()] = bytes;
  }
  return files;
}

// The boot on the simulator and under Wine.
struct Boots {
  std::string simulated_exit;
  std::string wine_exit;
  std::vector<std::string> simulated_starts;
  std::vector<std::string> simulated_boxes;
  std::map<std::string, std::string> simulated_files;
  std::vector<std::string> wine_starts;
  std::vector<std::string> wine_boxes;
  std::map<std::string, std::string> wine_files;
};

// "PROGRAM|COMMAND LINE|FOLDER" with the program's and the folder's names
// upper-cased: the simulator records the names it resolved ("C:\..."),
// Windows the program's as the loader gave it ("c:\..."); DOS names are the
// same in either case. The command line is compared byte for byte.
std::string Started(std::string line) {
  const std::size_t program_end = line.find('|');
  const std::size_t folder_start = line.rfind('|');
  if (program_end == std::string::npos) return line;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (i < program_end || i > folder_start) {
      line[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
    }
  }
  return line;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Bytes in quotes with CR and LF shown, as the helper prints them.
std::string Shown(const std::string& text) {
  std::string shown = "\"";
  for (const char c : text) {
    shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return shown + "\"";
}

// A box of the simulator's transcript as the helper prints one.
std::string BoxLine(const nlohmann::ordered_json& event) {
  static const std::map<std::string, std::string> kButtons = {
      {"ok", "OK"}, {"yes", "Yes"}, {"no", "No"}};
  return "box " + Shown(event["caption"].get<std::string>()) + " " +
         Shown(event["text"].get<std::string>()) + " -> " +
         Shown(kButtons.at(event["answer"].get<std::string>()));
}

// Boots a fresh default machine on the simulator, and a copy of its drive
// C: under Wine with the stand-ins in place of its programs, with the
// loader's command line; `prepare` changes the simulator's drive C: first.
// With `instance_running` another copy of the loader holds its mutex.
Boots BootBoth(const std::string& arguments,
               const std::function<void(const fs::path& drive_c)>& prepare = {},
               bool instance_running = false) {
  Boots boots;
  tests::Scenario scenario;
  const fs::path sim_c = scenario.machine().folder() / "drives" / "C";
  if (prepare) prepare(sim_c);
  const WinePrefix& prefix = TheWinePrefix();
  const fs::path wine_c = prefix.DriveC();
  for (const fs::directory_entry& entry : fs::directory_iterator(sim_c)) {
    fs::copy(entry.path(), wine_c / entry.path().filename(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  for (const char* program : {"qv7311x.exe", "qv7314x.exe", "preldr.exe"}) {
    if (!fs::exists(sim_c / "scope" / "bin" / program)) continue;
    fs::copy_file(QV_WIN64_STAND_IN, wine_c / "scope" / "bin" / program,
                  fs::copy_options::overwrite_existing);
  }
  fs::copy_file(QV_WIN64_LOADER, wine_c / "scope" / "bin" / "qv731Ldr.exe",
                fs::copy_options::overwrite_existing);

  {
    sim::Machine other(scenario.machine().folder());
    const auto held =
        instance_running ? other.platform().system.CreateNamedMutex(kInstanceMutex) : nullptr;
    scenario.Boot(arguments);
  }
  for (const nlohmann::ordered_json& event : scenario.events()) {
    if (event["event"] == "start") {
      boots.simulated_starts.push_back(Started(event["program"].get<std::string>() + "|" +
                                               event["cmdline"].get<std::string>() + "|" +
                                               event["cwd"].get<std::string>()));
    }
  }
  for (const nlohmann::ordered_json& event : scenario.events()) {
    if (event["event"] == "box") boots.simulated_boxes.push_back(BoxLine(event));
    if (event["event"] == "exit") boots.simulated_exit = "exit " + event["code"].dump();
  }
  boots.simulated_files = FilesOf(sim_c);

  arq_test::ArqFolder folder;
  const arq_test::ArqResult run =
      prefix.Run(folder.path(), QV_WIN64_LOADER_HELPER,
                 "'C:\\started.txt' 'C:\\scope\\bin\\qv731Ldr.exe' 'C:\\' '" + arguments + "'" +
                     (instance_running ? std::string(" 'hold:") + kInstanceMutex + "'" : ""));
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("exit 0"), std::string::npos) << run.out;
  for (const std::string& line : Lines(run.out)) {
    if (line.rfind("box ", 0) == 0) boots.wine_boxes.push_back(AsOnTheSystem(line));
    if (line.rfind("exit ", 0) == 0) boots.wine_exit = line;
  }
  std::ifstream started(wine_c / "started.txt", std::ios::binary);
  for (const std::string& line : Lines(std::string(std::istreambuf_iterator<char>(started), {})))
    boots.wine_starts.push_back(Started(line));
  started.close();
  fs::remove(wine_c / "started.txt");
  boots.wine_files = FilesOf(wine_c);
  // The next scenario finds drive C: as Wine made it.
  for (const fs::directory_entry& entry : fs::directory_iterator(wine_c)) {
    if (!WineOwn(entry.path().lexically_relative(wine_c))) fs::remove_all(entry.path());
  }
  return boots;
}

class LoaderUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
  }
};

// Boxes are compared with Wine's error texts taken as the system's
// (wine_error_texts.h).

// Wine reports the host's memory, for which the loader sets up a RAM drive
// and restarts, and Wine's restart ends every process of the prefix: the
// boot goes without the RAM drive (/noram) on both.
TEST_F(LoaderUnderWine, NormalBootStartsTheScopeAsOnTheSimulator) {
  const Boots boots = BootBoth("/noram");
  ASSERT_EQ(boots.simulated_starts.size(), 1u);
  EXPECT_EQ(boots.wine_starts, boots.simulated_starts);
  EXPECT_EQ(boots.wine_boxes, boots.simulated_boxes);
  EXPECT_EQ(boots.wine_files, boots.simulated_files);
  EXPECT_EQ(boots.wine_exit, boots.simulated_exit);
}

TEST_F(LoaderUnderWine, SwitchSetsStartTheScopeAsOnTheSimulator) {
  for (const char* switches : {"/noram /usb", "/noram /asi", "/noram /maint", "/noram /internal"}) {
    SCOPED_TRACE(switches);
    const Boots boots = BootBoth(switches);
    ASSERT_EQ(boots.simulated_starts.size(), 1u);
    EXPECT_EQ(boots.wine_starts, boots.simulated_starts);
    EXPECT_EQ(boots.wine_boxes, boots.simulated_boxes);
  }
}

TEST_F(LoaderUnderWine, SecondInstanceEndsAsOnTheSimulator) {
  const Boots boots = BootBoth("/noram", {}, /*instance_running=*/true);
  EXPECT_EQ(boots.simulated_exit, "exit 0");
  EXPECT_EQ(boots.wine_exit, boots.simulated_exit);
  EXPECT_TRUE(boots.wine_starts.empty());
  EXPECT_EQ(boots.simulated_starts, boots.wine_starts);
  EXPECT_EQ(boots.wine_boxes, boots.simulated_boxes);
  EXPECT_EQ(boots.wine_files, boots.simulated_files);
}

TEST_F(LoaderUnderWine, MissingProgramShowsTheSameBoxAsOnTheSimulator) {
  const Boots boots = BootBoth("/noram", [](const fs::path& drive_c) {
    fs::remove(drive_c / "scope" / "bin" / "qv7311x.exe");
  });
  EXPECT_FALSE(boots.simulated_boxes.empty());
  EXPECT_EQ(boots.wine_boxes, boots.simulated_boxes);
  EXPECT_EQ(boots.wine_starts, boots.simulated_starts);
  EXPECT_EQ(boots.wine_files, boots.simulated_files);
}

}  // namespace
}  // namespace qv::wine_test
