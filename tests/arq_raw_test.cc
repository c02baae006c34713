// arq raw-pack and raw-unpack run as a user runs them: exit codes, the JSON
// line on stdout, one-line messages on stderr, and no half-written output.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/arq_run.h"

namespace {

namespace fs = std::filesystem;
using qv::arq_test::ArqResult;

class ArqRaw : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  void Write(const std::string& name, const std::string& bytes) const {
    folder_.Write(name, bytes);
  }
  std::string Read(const std::string& name) const { return folder_.Read(name); }
  ArqResult Arq(const std::string& arguments) const { return folder_.Arq(arguments); }

  qv::arq_test::ArqFolder folder_;
};

TEST_F(ArqRaw, PacksAndUnpacksTheWorkedExample) {
  Write("a.txt", std::string(100, 'a'));
  const ArqResult pack = Arq("raw-pack " + Path("a.txt") + " " + Path("a.p"));
  EXPECT_EQ(pack.exit_code, 0) << pack.err;
  EXPECT_EQ(pack.out, R"({"method":"compressed","packed":10,"unpacked":100,"crc":"0x25520E90"})"
                      "\n");
  EXPECT_EQ(Read("a.p"), std::string("\x00\x02\x20\x04\x36\x11\x36\x75\x40\x10", 10));

  const ArqResult unpack = Arq("raw-unpack " + Path("a.p") + " " + Path("a.out") + " --size 100");
  EXPECT_EQ(unpack.exit_code, 0) << unpack.err;
  EXPECT_EQ(unpack.out, pack.out);
  EXPECT_EQ(Read("a.out"), std::string(100, 'a'));
}

// A pipe or a device as OUT is written into, not replaced by a file
// renamed over it (which, for /dev/null, would break the whole machine).
TEST_F(ArqRaw, AnOutputThatIsNoRegularFileIsWrittenInPlace) {
  Write("a.txt", std::string(5000, 'a'));
  ASSERT_EQ(Arq("raw-pack " + Path("a.txt") + " " + Path("a.p")).exit_code, 0);
  const std::string fifo = Path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const ArqResult unpack =
      Arq("raw-unpack " + Path("a.p") + " " + fifo + " --size 5000 & timeout 20 cat " + fifo +
          " >" + Path("copy") + "; wait $!");
  EXPECT_EQ(unpack.exit_code, 0) << unpack.err;
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(Read("copy") == std::string(5000, 'a')) << Read("copy").size() << " bytes";
  EXPECT_FALSE(fs::exists(fifo + ".partial"));
}

TEST_F(ArqRaw, ListedNamesAndIncompressibleFilesAreStored) {
  Write("A.ZIP", std::string(100, 'a'));
  const ArqResult listed = Arq("raw-pack " + Path("A.ZIP") + " " + Path("a.p"));
  EXPECT_EQ(listed.out, R"({"method":"stored","packed":100,"unpacked":100,"crc":"0xAF707A64"})"
                        "\n");
  Write("A.Zip", std::string(100, 'a'));
  EXPECT_NE(Arq("raw-pack " + Path("A.Zip") + " " + Path("b.p")).out.find("compressed"),
            std::string::npos);
}

TEST_F(ArqRaw, BestPacksSmallerAndUnpacksTheSame) {
  std::string text;
  for (int line = 0; text.size() < 50'000; ++line)
    text += "sample " + std::to_string(line * 7 % 1000) + " volts at channel " +
            std::to_string(line % 4) + "\n";
  Write("t.txt", text);
  const ArqResult lazy = Arq("raw-pack " + Path("t.txt") + " " + Path("lazy.p"));
  const ArqResult best = Arq("raw-pack --best " + Path("t.txt") + " " + Path("best.p"));
  ASSERT_EQ(best.exit_code, 0) << best.err;
  EXPECT_LT(Read("best.p").size(), Read("lazy.p").size());
  const ArqResult unpack =
      Arq("raw-unpack " + Path("best.p") + " " + Path("t.out") + " --size 50000");
  EXPECT_EQ(unpack.exit_code, 0) << unpack.err;
  EXPECT_EQ(unpack.out, best.out);
  EXPECT_EQ(Read("t.out"), text.substr(0, 50'000));
  // The store list holds for it too.
  Write("A.ZIP", text);
  EXPECT_NE(Arq("raw-pack --best " + Path("A.ZIP") + " " + Path("z.p")).out.find("stored"),
            std::string::npos);
}

TEST_F(ArqRaw, ThreadsPackTheBytesOfOne) {
  // Several segments of matches found ahead, and an end past the last cut.
  std::string text;
  for (int line = 0; text.size() < 2'700'000; ++line)
    text += "sample " + std::to_string(line * 7919 % 100'003) + " volts at channel " +
            std::to_string(line % 4) + (line % 3 == 0 ? " trigger\n" : "\n");
  Write("t.txt", text);
  const ArqResult one = Arq("raw-pack --threads 1 " + Path("t.txt") + " " + Path("one.p"));
  const ArqResult three = Arq("raw-pack --threads 3 " + Path("t.txt") + " " + Path("three.p"));
  ASSERT_EQ(three.exit_code, 0) << three.err;
  EXPECT_EQ(three.out, one.out);
  EXPECT_TRUE(Read("three.p") == Read("one.p"));
}

TEST_F(ArqRaw, StreamThatEndsEarlyStillGivesTheSizeAsked) {
  // One block of 5000 literals, all 'x' (single-symbol form), cut after five
  // of its seven bytes: zero bits make the symbol 'p' and the decoding goes
  // on.
  Write("cut.p", std::string("\x13\x88\x00\x00\x07", 5));
  const ArqResult cut = Arq("raw-unpack " + Path("cut.p") + " " + Path("out") + " --size 5000");
  EXPECT_EQ(cut.exit_code, 0) << cut.err;
  EXPECT_EQ(cut.out, R"({"method":"compressed","packed":5,"unpacked":5000,"crc":"0x57EB1138"})"
                     "\n");
  EXPECT_EQ(Read("out"), std::string(5000, 'p'));
}

TEST_F(ArqRaw, DamagedStreamFailsButStillGivesTheSizeAsked) {
  // The worked example cut after five bytes: the zero bits that follow make
  // a literal/length code without any length.
  Write("bad.p", std::string("\x00\x02\x20\x04\x36", 5));
  const ArqResult unpack = Arq("raw-unpack " + Path("bad.p") + " " + Path("out") + " --size 5000");
  EXPECT_EQ(unpack.exit_code, 1);
  EXPECT_EQ(unpack.out, "");
  EXPECT_EQ(unpack.err,
            "arq: " + Path("bad.p") + ": corrupt packed stream (zeros from there on)\n");
  EXPECT_EQ(Read("out"), std::string(5000, '\0'));
  EXPECT_FALSE(fs::exists(Path("out.partial")));
}

TEST_F(ArqRaw, BadArgumentsAndUnreadableFilesExitTwo) {
  const ArqResult missing = Arq("raw-pack " + Path("none") + " " + Path("out"));
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_EQ(missing.err, "arq: " + Path("none") + ": No such file or directory\n");
  EXPECT_FALSE(fs::exists(Path("out")));

  Write("a.p", "x");
  for (const std::string& arguments : std::vector<std::string>{
           "raw-unpack " + Path("a.p") + " " + Path("out"),
           "raw-unpack " + Path("a.p") + " " + Path("out") + " --size -1",
           "raw-unpack " + Path("a.p") + " " + Path("out") + " --size 4294967296",
           "raw-pack " + Path("a.p"), "unknown", ""}) {
    const ArqResult result = Arq(arguments);
    EXPECT_EQ(result.exit_code, 2) << arguments;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << arguments;
  }
  EXPECT_EQ(Arq("--help").exit_code, 0);
  EXPECT_EQ(Arq("raw-pack --help").exit_code, 0);
}

}  // namespace
