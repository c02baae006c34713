// arq l, t, x, a and d run as a user runs them: files on the host, exit
// codes, listings, the library's messages, and nothing written where it
// should not be.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <tuple>

#include "archive/archive_test_support.h"
#include "tests/arq_run.h"

namespace {

using qv::archive::ArchiveBytes;
using qv::archive::TestMember;
using qv::arq_test::ArqResult;

class ArqArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("tree/scope/bin/App.exe", "MZ program");
    folder_.Write("tree/scope/cal/probe.txt", Text(30'000));
    folder_.Write("tree/readme", "read me\n");
  }
  static std::string Text(std::size_t size) {
    std::string text;
    while (text.size() < size)
      text += "channel " + std::to_string(text.size() % 13) + " trigger level\n";
    return text.substr(0, size);
  }
  std::vector<std::string> Names(const std::string& archive) {
    const ArqResult listed = folder_.Arq("l " + archive + " --json");
    EXPECT_EQ(listed.exit_code, 0) << listed.err << listed.out;
    const nlohmann::json document = nlohmann::json::parse(listed.out);
    std::vector<std::string> names;
    for (const auto& member : document["members"])
      names.push_back(member["name"]);
    return names;
  }

  qv::arq_test::ArqFolder folder_;
};

TEST_F(ArqArchive, AddListTestAndExtractAPackageTree) {
  const ArqResult added = folder_.Arq("a pkg.arq -C tree 'scope/*.*' readme");
  EXPECT_EQ(added.exit_code, 0) << added.err;
  EXPECT_EQ(added.err, "");
  EXPECT_TRUE(folder_.Exists("pkg.arq"));  // in the case given

  const ArqResult listed = folder_.Arq("l pkg.arq --json");
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  const nlohmann::json document = nlohmann::json::parse(listed.out);
  ASSERT_EQ(document["members"].size(), 3u);
  const nlohmann::json& probe = document["members"][1];
  EXPECT_EQ(probe["name"], "SCOPE/CAL/PROBE.TXT");
  EXPECT_EQ(probe["method"], "compressed");
  EXPECT_EQ(probe["unpacked"], 30'000);
  EXPECT_EQ(probe["flags"], nlohmann::json::array({"text"}));
  EXPECT_EQ(document["members"][0]["method"], "stored");
  EXPECT_EQ(document["members"][2]["name"], "README");

  const ArqResult table = folder_.Arq("l pkg.arq");
  EXPECT_NE(table.out.find("SCOPE/BIN/APP.EXE"), std::string::npos);
  EXPECT_NE(table.out.find("3 members"), std::string::npos);

  const ArqResult tested = folder_.Arq("t pkg.arq");
  EXPECT_EQ(tested.exit_code, 0) << tested.err;
  EXPECT_EQ(tested.out, "3 members tested, all sound\n");

  const ArqResult extracted = folder_.Arq("x pkg.arq -d out");
  EXPECT_EQ(extracted.exit_code, 0) << extracted.err;
  EXPECT_EQ(folder_.Read("out/SCOPE/CAL/PROBE.TXT"), Text(30'000));
  EXPECT_EQ(folder_.Read("out/SCOPE/BIN/APP.EXE"), "MZ program");
  EXPECT_EQ(folder_.Arq("x pkg.arq -d flat -j '*.TXT'").exit_code, 0);
  EXPECT_EQ(folder_.Read("flat/PROBE.TXT"), Text(30'000));
  EXPECT_FALSE(folder_.Exists("flat/APP.EXE"));
}

TEST_F(ArqArchive, BestAddsSmallerMembersThatTestAndExtractSound) {
  ASSERT_EQ(folder_.Arq("a lazy.arq -q -C tree 'scope/*.*' readme").exit_code, 0);
  const ArqResult added = folder_.Arq("a best.arq -q --best -C tree 'scope/*.*' readme");
  ASSERT_EQ(added.exit_code, 0) << added.err;
  EXPECT_LT(std::filesystem::file_size(folder_.Path("best.arq")),
            std::filesystem::file_size(folder_.Path("lazy.arq")));
  EXPECT_EQ(folder_.Arq("t best.arq").out, "3 members tested, all sound\n");
  ASSERT_EQ(folder_.Arq("x best.arq -d out").exit_code, 0);
  EXPECT_EQ(folder_.Read("out/SCOPE/CAL/PROBE.TXT"), Text(30'000));
}

TEST_F(ArqArchive, ReplacingAndDeletingMembers) {
  ASSERT_EQ(folder_.Arq("a pkg.arq -C tree 'scope/*.*'").exit_code, 0);
  folder_.Write("tree/scope/bin/App.exe", "MZ newer");
  EXPECT_EQ(folder_.Arq("a pkg.arq -C tree scope/bin/App.exe").exit_code, 0);
  EXPECT_EQ(Names("pkg.arq"),
            (std::vector<std::string>{"SCOPE/BIN/APP.EXE", "SCOPE/CAL/PROBE.TXT"}));
  EXPECT_EQ(folder_.Arq("x pkg.arq -d out").exit_code, 0);
  EXPECT_EQ(folder_.Read("out/SCOPE/BIN/APP.EXE"), "MZ newer");

  const ArqResult deleted = folder_.Arq("d pkg.arq scope/cal/probe.txt");
  EXPECT_EQ(deleted.exit_code, 0) << deleted.err;
  EXPECT_EQ(Names("pkg.arq"), (std::vector<std::string>{"SCOPE/BIN/APP.EXE"}));
  const ArqResult nothing = folder_.Arq("d pkg.arq '*.none'");
  EXPECT_EQ(nothing.exit_code, 1);
  EXPECT_EQ(nothing.err, "arq: pkg.arq: no member matched\n");
  const ArqResult empty = folder_.Arq("a pkg.arq -C tree 'scope/*.none'");
  EXPECT_EQ(empty.exit_code, 1);
  EXPECT_EQ(empty.err, "arq: SCOPE\\*.NONE: no file to add\n");
}

TEST_F(ArqArchive, ExistingFilesAreKeptUnlessOverwriteIsGiven) {
  ASSERT_EQ(folder_.Arq("a pkg.arq -C tree readme").exit_code, 0);
  folder_.Write("out/README", "mine");
  const ArqResult asked = folder_.Arq("x pkg.arq -d out");
  EXPECT_EQ(asked.exit_code, 1);
  EXPECT_EQ(asked.err, "arq: README: exists, left as it is (-o replaces, -n keeps quietly)\n");
  EXPECT_EQ(folder_.Read("out/README"), "mine");
  EXPECT_EQ(folder_.Arq("x pkg.arq -d out -n").exit_code, 0);
  EXPECT_EQ(folder_.Read("out/README"), "mine");
  EXPECT_EQ(folder_.Arq("x pkg.arq -d out -o").exit_code, 0);
  EXPECT_EQ(folder_.Read("out/README"), "read me\n");
  EXPECT_EQ(folder_.Arq("x pkg.arq -d out -o -n").exit_code, 2);

  // A read-only file the same way: kept and named, kept quietly, replaced.
  folder_.Write("ro/README", "mine");
  std::filesystem::permissions(folder_.path() / "ro/README", std::filesystem::perms::owner_read);
  const ArqResult kept = folder_.Arq("x pkg.arq -d ro");
  EXPECT_EQ(kept.exit_code, 1);
  EXPECT_EQ(kept.err, "arq: README: read-only, left as it is (-o replaces, -n keeps quietly)\n");
  EXPECT_EQ(folder_.Arq("x pkg.arq -d ro -n").exit_code, 0);
  EXPECT_EQ(folder_.Read("ro/README"), "mine");
  EXPECT_EQ(folder_.Arq("x pkg.arq -d ro -o").exit_code, 0);
  EXPECT_EQ(folder_.Read("ro/README"), "read me\n");
}

TEST_F(ArqArchive, FailingMembersAreNamedAndTheirTargetsKept) {
  folder_.Write("bad.arq", ArchiveBytes({{.name = "ONE.TXT", .data = "1", .crc = 1},
                                         {.name = "GOOD.TXT", .data = "g"},
                                         {.name = "TWO.TXT", .data = "2", .crc = 2},
                                         {.name = "LAST.TXT", .data = "l"}}));
  const ArqResult tested = folder_.Arq("t bad.arq");
  EXPECT_EQ(tested.exit_code, 1);
  EXPECT_EQ(tested.err,
            "arq: ONE.TXT: CRC32 error\narq: TWO.TXT: CRC32 error\narq: 2 of 4 members failed\n");

  folder_.Write("out/ONE.TXT", "kept");
  const ArqResult extracted = folder_.Arq("x bad.arq -d out -o");
  EXPECT_EQ(extracted.exit_code, 1);
  EXPECT_EQ(extracted.err, "arq: ONE.TXT: CRC32 error\n");
  EXPECT_EQ(folder_.Read("out/ONE.TXT"), "kept");
}

TEST_F(ArqArchive, AnArchiveThatEndsBeforeItsEndMarkerIsNeverSound) {
  const std::string whole =
      ArchiveBytes({{.name = "ONE.TXT", .data = "one"}, {.name = "TWO.TXT", .data = "two"}});
  const std::size_t second = whole.find("\x67\x57\x04\x01", 1);
  ASSERT_NE(second, std::string::npos);
  std::string newer = whole;
  newer[second + 5] = 0x32;  // the second member needs version 3.2
  std::string garbage = whole;
  garbage[second] = '?';
  for (const auto& [name, bytes, message] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {"cut.arq", whole.substr(0, second), "Corrupt header"},
           {"garbage.arq", garbage, "Corrupt header"},
           {"newer.arq", newer, "Incompatible archive version"}}) {
    folder_.Write(name, bytes);
    std::string shown = name;  // as the archive's DOS name shows it
    std::transform(shown.begin(), shown.end(), shown.begin(), ::toupper);
    for (const std::string& arguments : {"t " + name, "x " + name + " -d out -o", "l " + name}) {
      const ArqResult result = folder_.Arq(arguments);
      EXPECT_EQ(result.exit_code, 1) << arguments;
      // One line, naming the archive and what is wrong with it.
      EXPECT_TRUE(result.err.ends_with(shown + ": " + message + "\n")) << arguments << result.err;
      EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
      EXPECT_EQ(result.out.find("all sound"), std::string::npos) << result.out;
    }
  }
}

TEST_F(ArqArchive, MembersNamedOutsideTheDestinationAreRefused) {
  folder_.Write("evil.arq", ArchiveBytes({{.name = "../escaped.txt", .data = "e"},
                                          {.name = "/rooted.txt", .data = "e"},
                                          {.name = "fine.txt", .data = "f"}}));
  const ArqResult extracted = folder_.Arq("x evil.arq -d out/inner");
  EXPECT_EQ(extracted.exit_code, 1);
  EXPECT_EQ(
      extracted.err,
      "arq: ../ESCAPED.TXT: Unable to create file\narq: /ROOTED.TXT: Unable to create file\n");
  EXPECT_EQ(folder_.Read("out/inner/FINE.TXT"), "f");
  EXPECT_FALSE(folder_.Exists("out/ESCAPED.TXT"));
  EXPECT_FALSE(folder_.Exists("ROOTED.TXT"));
}

TEST_F(ArqArchive, StoredNamesReachTheTerminalEscapedAndJsonExact) {
  const std::string title = "\x1b]0;owned\a";
  folder_.Write("odd.arq", ArchiveBytes({{.name = title + "A.TXT", .data = "a"},
                                         {.name = "LINE\nBREAK.TXT", .data = "b"},
                                         {.name = "C:/tmp/x.txt", .data = "c"},
                                         {.name = "../UP.TXT", .data = "u"}}));
  const ArqResult listed = folder_.Arq("l odd.arq");
  EXPECT_EQ(listed.exit_code, 0) << listed.err;
  EXPECT_NE(listed.out.find("  \\033]0;OWNED\\aA.TXT\n"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("  LINE\\nBREAK.TXT\n"), std::string::npos) << listed.out;
  // A drive in a stored name is shown, not taken for a host path.
  EXPECT_NE(listed.out.find("  C:/TMP/X.TXT\n"), std::string::npos) << listed.out;
  EXPECT_EQ(listed.out.find('\x1b'), std::string::npos);
  EXPECT_EQ(Names("odd.arq"), (std::vector<std::string>{"\x1b]0;OWNED\aA.TXT", "LINE\nBREAK.TXT",
                                                        "C:/TMP/X.TXT", "../UP.TXT"}));

  // A name in the instrument's code page, not UTF-8: each byte one character.
  folder_.Write("page.arq", ArchiveBytes({{.name = "CAF\xc9.TXT", .data = "e"}}));
  EXPECT_EQ(Names("page.arq"), std::vector<std::string>{"CAF\u00c9.TXT"});

  // Messages that carry a name are escaped as well (no name may hold a
  // control character, so none of these is written).
  const ArqResult extracted = folder_.Arq("x odd.arq -d out");
  EXPECT_EQ(extracted.exit_code, 1);
  EXPECT_EQ(extracted.err,
            "arq: \\033]0;OWNED\\aA.TXT: Unable to create file\n"
            "arq: LINE\\nBREAK.TXT: Unable to create file\n"
            "arq: C:/TMP/X.TXT: Unable to create file\n"
            "arq: ../UP.TXT: Unable to create file\n");
  const ArqResult missing = folder_.Arq("l 'bad\x1b[2J.arq'");
  EXPECT_EQ(missing.err, "arq: bad\\033[2J.arq: File does not exist\n");
}

TEST_F(ArqArchive, DeviceNamesAreRefusedLikeNamesOutsideTheDestination) {
  folder_.Write("dev.arq", ArchiveBytes({{.name = "con", .data = "c"},
                                         {.name = "dir/lpt1.txt", .data = "l"},
                                         {.name = "fine.txt", .data = "f"}}));
  const ArqResult extracted = folder_.Arq("x dev.arq -d out");
  EXPECT_EQ(extracted.exit_code, 1);
  EXPECT_EQ(extracted.err,
            "arq: CON: Unable to create file\narq: DIR/LPT1.TXT: Unable to create file\n");
  EXPECT_EQ(folder_.Read("out/FINE.TXT"), "f");
  EXPECT_FALSE(folder_.Exists("out/CON"));
  EXPECT_FALSE(folder_.Exists("out/DIR"));
}

TEST_F(ArqArchive, BadArgumentsAndNonArchivesExitTwo) {
  folder_.Write("junk.arq", "not an archive at all");
  ASSERT_EQ(folder_.Arq("a pkg.arq -C tree readme").exit_code, 0);
  for (const auto& [arguments, message] : std::vector<std::pair<std::string, std::string>>{
           {"l missing.arq", "arq: missing.arq: File does not exist\n"},
           {"x junk.arq", "arq: junk.arq: Not an archive or corrupt\n"},
           {"a junk.arq -C tree readme", "arq: junk.arq: Not an archive or corrupt\n"},
           {"d missing.arq X", "arq: missing.arq: File does not exist\n"},
           {"x pkg.arq '[A-'", "arq: [A-: Bad argument\n"},
           {"a pkg.arq -C no-such-folder readme", "arq: no-such-folder: not a folder\n"}}) {
    const ArqResult result = folder_.Arq(arguments);
    EXPECT_EQ(result.exit_code, 2) << arguments;
    EXPECT_EQ(result.err, message) << arguments;
  }
  EXPECT_EQ(folder_.Read("junk.arq"), "not an archive at all");
  for (const char* arguments : {"x", "a pkg.arq", "l --disk-size 5 pkg.arq"}) {
    EXPECT_EQ(folder_.Arq(arguments).exit_code, 2) << arguments;
  }
  for (const char* command : {"l", "t", "x", "a", "d"}) {
    EXPECT_EQ(folder_.Arq(std::string(command) + " --help").exit_code, 0) << command;
  }
  const ArqResult version = folder_.Arq("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("arq ")) << version.out;
}

// --threads changes how fast, never what: the archive, the files extracted,
// and what arq prints are those of one thread.
TEST_F(ArqArchive, EveryThreadCountGivesTheSameArchiveAndFiles) {
  for (int i = 0; i < 30; ++i)
    folder_.Write("tree/many/f" + std::to_string(i), Text(i * 700));
  std::string archive;
  std::string printed;
  for (const char* threads : {"1", "2", "5"}) {
    SCOPED_TRACE(threads);
    const std::string name = std::string("t") + threads + ".arq";
    const ArqResult added = folder_.Arq("a " + name + " --threads " + threads + " -C tree '*.*'");
    ASSERT_EQ(added.exit_code, 0) << added.err;
    if (archive.empty()) archive = folder_.Read(name);
    EXPECT_TRUE(folder_.Read(name) == archive);
    const std::string out = std::string("x") + threads;
    const ArqResult extracted = folder_.Arq("x t1.arq -d " + out + " --threads " + threads);
    ASSERT_EQ(extracted.exit_code, 0) << extracted.err;
    if (printed.empty()) printed = extracted.out + extracted.err;
    EXPECT_EQ(extracted.out + extracted.err, printed);
    EXPECT_EQ(folder_.Read(out + "/MANY/F29"), Text(29 * 700));
  }
  EXPECT_NE(folder_.Arq("a t.arq --threads 0 -C tree '*.*'").exit_code, 0);
  EXPECT_NE(folder_.Arq("x t1.arq --threads 0").exit_code, 0);
  EXPECT_NE(folder_.Arq("x --help").out.find("--threads"), std::string::npos);
}

}  // namespace
