// arq with --disk: folders that stand for removable disks, one inserted
// after another as the library asks for them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>

#include "tests/arq_run.h"

namespace {

using qv::arq_test::ArqResult;

std::string Noise(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& byte : bytes)
    byte = static_cast<char>(random());
  return bytes;
}

class ArqDisks : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("tree/noise.bin", Noise(900'000));
    folder_.Write("tree/small.txt", "small\n");
  }

  qv::arq_test::ArqFolder folder_;
  const std::string disks_ = " --disks d1 d2 d3 --disk-size 400000";
};

TEST_F(ArqDisks, ArchiveOverThreeDisksReadsBackWhole) {
  const ArqResult added = folder_.Arq("a set.arq -C tree '*.*'" + disks_);
  ASSERT_EQ(added.exit_code, 0) << added.err;
  for (const char* disk : {"d1/set.arq", "d2/SET.ARQ", "d3/SET.ARQ"}) {
    EXPECT_TRUE(folder_.Exists(disk)) << disk;
  }
  const ArqResult listed = folder_.Arq("l set.arq --json" + disks_);
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  const nlohmann::json members = nlohmann::json::parse(listed.out)["members"];
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0]["flags"], nlohmann::json::array({"binary", "continued"}));
  EXPECT_EQ(members[1]["volume"], 2);

  EXPECT_EQ(folder_.Arq("t set.arq" + disks_).exit_code, 0);
  const ArqResult extracted = folder_.Arq("x set.arq -d out" + disks_);
  EXPECT_EQ(extracted.exit_code, 0) << extracted.err;
  EXPECT_EQ(folder_.Read("out/NOISE.BIN"), Noise(900'000));
  EXPECT_EQ(folder_.Read("out/SMALL.TXT"), "small\n");
}

TEST_F(ArqDisks, DiskByDiskBeforeTheArchiveAndTheOldSpellingLast) {
  const ArqResult added =
      folder_.Arq("a --disk d1 --disk d2 --disk d3 --disk-size 400000 set.arq -C tree '*.*'");
  ASSERT_EQ(added.exit_code, 0) << added.err;
  EXPECT_TRUE(folder_.Exists("d3/SET.ARQ"));
  const ArqResult extracted = folder_.Arq("x --disk d1 --disk d2 --disk d3 set.arq -d out");
  EXPECT_EQ(extracted.exit_code, 0) << extracted.err;
  EXPECT_EQ(folder_.Read("out/NOISE.BIN"), Noise(900'000));
  EXPECT_EQ(folder_.Arq("t set.arq --disks d1 d2 d3").exit_code, 0);
  // The old spelling still works where the archive is the last word.
  EXPECT_EQ(folder_.Arq("t --disks d1 d2 d3 set.arq").exit_code, 0);

  // Followed by an option, it takes the archive's name as a disk: say so.
  const ArqResult swallowed = folder_.Arq("x --disks d1 d2 d3 set.arq -d out2");
  EXPECT_EQ(swallowed.exit_code, 2);
  EXPECT_NE(swallowed.err.find("give each disk with --disk DIR"), std::string::npos)
      << swallowed.err;
  EXPECT_EQ(folder_.Arq("l set.arq --disk d1 --disks d2").exit_code, 2);
}

// The option refuses a size whose whole clusters fall below the smallest
// disk, rather than letting the library fail on the first full disk.
TEST_F(ArqDisks, TheSmallestDiskSizeTakenMakesAVolumeSet) {
  const ArqResult refused = folder_.Arq("a set.arq -C tree '*.*' --disks d1 --disk-size 362000");
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_NE(refused.err.find("362496"), std::string::npos) << refused.err;
  const std::string smallest = " --disks d1 d2 d3 --disk-size 362496";
  const ArqResult added = folder_.Arq("a set.arq -C tree '*.*'" + smallest);
  ASSERT_EQ(added.exit_code, 0) << added.err;
  EXPECT_TRUE(folder_.Exists("d3/SET.ARQ"));
  EXPECT_EQ(folder_.Arq("t set.arq" + smallest).exit_code, 0);
}

TEST_F(ArqDisks, MissingDiskEndsWithTheLibrarysMessage) {
  ASSERT_EQ(folder_.Arq("a set.arq -C tree '*.*'" + disks_).exit_code, 0);
  const ArqResult extracted = folder_.Arq("x set.arq -d out --disks d1 d2");
  EXPECT_EQ(extracted.exit_code, 1);
  EXPECT_EQ(extracted.err, "arq: disk 3 is needed, but 2 were given\narq: Canceled\n");
  EXPECT_FALSE(folder_.Exists("out/NOISE.BIN"));

  // Writing: too few disks leave nothing behind.
  const ArqResult added = folder_.Arq("a other.arq -C tree '*.*' --disks e1 e2 --disk-size 400000");
  EXPECT_EQ(added.exit_code, 1);
  EXPECT_NE(added.err.find("arq: disk 3 is needed, but 2 were given\narq: Canceled\n"),
            std::string::npos)
      << added.err;
  EXPECT_FALSE(folder_.Exists("e1/other.arq"));
  EXPECT_FALSE(folder_.Exists("e2/OTHER.ARQ"));

  const ArqResult unread = folder_.Arq("l d2/SET.ARQ");
  EXPECT_EQ(unread.exit_code, 1);
  EXPECT_NE(unread.err.find("give the disks with --disk"), std::string::npos);
}

}  // namespace
