// arq.exe, the Windows build of arq, under Wine beside the Linux arq: the
// same files make the same archive bytes, each extracts the other's archive
// to the same files, and a damaged archive fails its test on Windows too.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "tests/arq_run.h"
#include "tests/wine/wine_prefix.h"

namespace {

namespace fs = std::filesystem;
using qv::arq_test::ArqFolder;
using qv::arq_test::ArqResult;
using qv::wine_test::WinePrefix;

// A tree's files: relative path -> size, write time and a digest of the bytes.
using Tree = std::map<std::string, std::string>;

Tree Files(const fs::path& root) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const auto time = std::chrono::file_clock::to_sys(entry.last_write_time());
    tree[entry.path().lexically_relative(root).generic_string()] =
        std::to_string(bytes.size()) + " bytes, written at " +
        std::to_string(std::chrono::floor<std::chrono::seconds>(time).time_since_epoch().count()) +
        ", digest " + std::to_string(std::hash<std::string>{}(bytes));
  }
  return tree;
}

// Where two byte strings first differ, for a failure message.
std::string FirstDifference(const std::string& a, const std::string& b) {
  const auto [at, ignored] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
         ", first difference at byte " + std::to_string(at - a.begin());
}

// What a Windows program printed, with its lines' CR LF as LF.
std::string Lines(std::string text) {
  std::erase(text, '\r');
  return text;
}

class ArqUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::optional<std::string> why = WinePrefix::Unavailable()) GTEST_SKIP() << *why;
    // Names in capitals, as archives store them, so that extracted trees
    // compare with the tree itself.
    folder_.Write("tree/SCOPE/BIN/QV7311X.EXE", Binary(70'000));
    folder_.Write("tree/SCOPE/CAL/GAIN.CAL", Text(120'000));
    folder_.Write("tree/SCOPE/EMPTY.TXT", "");
    folder_.Write("tree/README.TXT", "Revision A.03.01\r\n");
    // Times as the instrument keeps them: whole seconds.
    const auto written = std::chrono::file_clock::from_sys(
        std::chrono::sys_seconds(std::chrono::seconds(1'700'000'000)));
    for (const auto& entry : fs::recursive_directory_iterator(folder_.path() / "tree"))
      fs::last_write_time(entry.path(), written);
  }

  static std::string Text(std::size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line)
      text += "gain " + std::to_string(line % 97) + " 1.000" + std::to_string(line % 7) + "\r\n";
    return text.substr(0, size);
  }
  static std::string Binary(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char& byte : bytes) {
      state = state * 1'103'515'245 + 12'345;
      byte = static_cast<char>(state >> 24);
    }
    return bytes;
  }

  ArqResult WindowsArq(const std::string& arguments) const {
    return qv::wine_test::TheWinePrefix().Run(folder_.path(), QV_WIN64_ARQ, arguments);
  }
  std::string Bytes(const std::string& name) const { return folder_.Read(name); }

  ArqFolder folder_;
};

TEST_F(ArqUnderWine, TheSameFilesMakeTheSameArchiveBytes) {
  const ArqResult linux_made = folder_.Arq("a linux.arq -C tree '*.*'");
  ASSERT_EQ(linux_made.exit_code, 0) << linux_made.err;
  const ArqResult windows_made = WindowsArq("a windows.arq -C tree '*.*'");
  ASSERT_EQ(windows_made.exit_code, 0) << windows_made.err;
  EXPECT_EQ(windows_made.err, "");
  EXPECT_TRUE(Bytes("windows.arq") == Bytes("linux.arq"))
      << FirstDifference(Bytes("windows.arq"), Bytes("linux.arq"));

  // Names without the folders (-j), given one by one.
  ASSERT_EQ(folder_.Arq("a flat-linux.arq -j tree/README.TXT tree/SCOPE/CAL/GAIN.CAL").exit_code,
            0);
  const ArqResult flat =
      WindowsArq("a flat-windows.arq -j tree/README.TXT tree/SCOPE/CAL/GAIN.CAL");
  ASSERT_EQ(flat.exit_code, 0) << flat.err;
  EXPECT_TRUE(Bytes("flat-windows.arq") == Bytes("flat-linux.arq"))
      << FirstDifference(Bytes("flat-windows.arq"), Bytes("flat-linux.arq"));
}

TEST_F(ArqUnderWine, EachExtractsTheOthersArchiveToTheSameFiles) {
  const ArqResult linux_made = folder_.Arq("a linux.arq -C tree '*.*'");
  ASSERT_EQ(linux_made.exit_code, 0) << linux_made.err;
  const ArqResult windows_made = WindowsArq("a windows.arq -C tree '*.*'");
  ASSERT_EQ(windows_made.exit_code, 0) << windows_made.err;

  const ArqResult on_windows = WindowsArq("x linux.arq -d from-linux");
  ASSERT_EQ(on_windows.exit_code, 0) << on_windows.err;
  const ArqResult on_linux = folder_.Arq("x windows.arq -d from-windows");
  ASSERT_EQ(on_linux.exit_code, 0) << on_linux.err;

  const Tree tree = Files(folder_.path() / "tree");
  EXPECT_EQ(Files(folder_.path() / "from-linux"), tree);
  EXPECT_EQ(Files(folder_.path() / "from-windows"), tree);
}

TEST_F(ArqUnderWine, TestFindsAFlippedByte) {
  ASSERT_EQ(folder_.Arq("a pkg.arq -C tree '*.*'").exit_code, 0);
  const ArqResult sound = WindowsArq("t pkg.arq");
  EXPECT_EQ(sound.exit_code, 0) << sound.err;
  EXPECT_EQ(Lines(sound.out), "4 members tested, all sound\n");

  // A byte inside the packed calibration file, the largest member.
  std::string bytes = Bytes("pkg.arq");
  const std::size_t inside = bytes.find("GAIN.CAL") + 200;
  ASSERT_LT(inside, bytes.size());
  bytes[inside] = static_cast<char>(bytes[inside] ^ 0x10);
  folder_.Write("damaged.arq", bytes);
  const ArqResult damaged = WindowsArq("t damaged.arq");
  EXPECT_EQ(damaged.exit_code, 1);
  EXPECT_NE(damaged.err.find("GAIN.CAL"), std::string::npos) << damaged.err;
  EXPECT_EQ(folder_.Arq("t damaged.arq").exit_code, 1);
}

// Each --disk folder is one removable disk of --disk-size bytes, on both:
// the volumes hold the same bytes, and each reads the other's disks.
TEST_F(ArqUnderWine, DisksGetTheSameVolumesAsOnLinux) {
  folder_.Write("tree/SCOPE/BIN/QV7311X.DLL", Binary(800'000));
  const std::string linux_disks = " --disks l1 l2 l3 l4 --disk-size 400000";
  const std::string windows_disks = " --disks w1 w2 w3 w4 --disk-size 400000";
  const ArqResult linux_made = folder_.Arq("a set.arq -C tree '*.*'" + linux_disks);
  ASSERT_EQ(linux_made.exit_code, 0) << linux_made.err;
  const ArqResult windows_made = WindowsArq("a set.arq -C tree '*.*'" + windows_disks);
  ASSERT_EQ(windows_made.exit_code, 0) << windows_made.err;
  int volumes = 0;
  for (const char* disk : {"1", "2", "3", "4"}) {
    SCOPED_TRACE(disk);
    const Tree on_linux = Files(folder_.path() / (std::string("l") + disk));
    const Tree on_windows = Files(folder_.path() / (std::string("w") + disk));
    EXPECT_EQ(on_windows.size(), on_linux.size());
    for (const auto& [name, ignored] : on_linux) {
      const std::string linux_bytes = Bytes(std::string("l") + disk + "/" + name);
      const std::string windows_bytes = Bytes(std::string("w") + disk + "/" + name);
      EXPECT_TRUE(windows_bytes == linux_bytes)
          << name << ": " << FirstDifference(windows_bytes, linux_bytes);
      ++volumes;
    }
  }
  EXPECT_GE(volumes, 3);

  const ArqResult on_windows = WindowsArq("x set.arq -d from-linux" + linux_disks);
  ASSERT_EQ(on_windows.exit_code, 0) << on_windows.err;
  const ArqResult on_linux = folder_.Arq("x set.arq -d from-windows" + windows_disks);
  ASSERT_EQ(on_linux.exit_code, 0) << on_linux.err;
  const Tree tree = Files(folder_.path() / "tree");
  EXPECT_EQ(Files(folder_.path() / "from-linux"), tree);
  EXPECT_EQ(Files(folder_.path() / "from-windows"), tree);
}

}  // namespace
