#include "sim/folder_listings.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdio.h>

#include <array>
#include <fstream>
#include <random>
#include <string>

#include "sim/host_io.h"

namespace qv::sim {
namespace {

namespace fs = std::filesystem;
using Watching = FolderListings::Watching;

constexpr platform::CodePage kPage = platform::CodePage::kWestern;

// Whether the listings answer every name as a fresh listing of the folder
// would, and which name failed.
std::string FirstWrongAnswer(FolderListings& listings, const fs::path& folder,
                             std::span<const std::string> names) {
  const std::vector<HostEntry> truth = VisibleEntries(folder, kPage);
  for (const std::string& name : names) {
    const std::string folded = platform::FoldName(kPage, name);
    std::optional<HostEntry> expected;
    for (const HostEntry& entry : truth) {
      if (platform::FoldName(kPage, entry.name) == folded) expected = entry;
    }
    const std::optional<HostEntry> found = listings.Find(folder, name);
    if (found.has_value() != expected.has_value() ||
        (found && (found->name != expected->name || found->folder != expected->folder))) {
      return name;
    }
  }
  return {};
}

class FolderListingsTest : public ::testing::TestWithParam<Watching> {
 protected:
  ~FolderListingsTest() override { fs::remove_all(root_); }

  void Write(const fs::path& path) { std::ofstream(path) << "x"; }

  fs::path root_ = MakeTemporaryFolder("listings");
  FolderListings listings_{kPage, GetParam()};
};

// Changes made outside the listings, in every way a folder's names change,
// each followed by lookups of every name that may be involved: the answers
// must be those of a fresh listing, whatever came before.
TEST_P(FolderListingsTest, EveryChangeShowsInTheNextLookup) {
  const fs::path folder = root_ / "f";
  fs::create_directory(folder);
  const std::array<std::string, 8> names = {"a.txt", "A.txt", "A.TXT", "b",
                                            "B",     "c.dat", "sub",   "link"};
  std::mt19937 random(7);
  for (int step = 0; step < 600; ++step) {
    const fs::path one = folder / names[random() % names.size()];
    const fs::path other = folder / names[random() % names.size()];
    std::error_code ignored;
    switch (random() % 7) {
      case 0:
        Write(one);
        break;
      case 1:
        fs::remove_all(one, ignored);
        break;
      case 2:
        fs::rename(one, other, ignored);
        break;
      case 3:
        fs::create_directory(one, ignored);
        break;
      case 4:
        fs::create_symlink(root_, one, ignored);
        break;
      case 5:  // out of the folder, and back under another name
        fs::rename(one, root_ / "out", ignored);
        fs::rename(root_ / "out", other, ignored);
        break;
      case 6:
        ::renameat2(AT_FDCWD, one.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
    }
    ASSERT_EQ(FirstWrongAnswer(listings_, folder, names), "") << "after step " << step;
  }
}

// A listing is of a folder, not of a path: a folder put in the place of one
// listed before, or of one of its parents, is listed afresh.
TEST_P(FolderListingsTest, AFolderInAnothersPlaceIsListedAfresh) {
  fs::create_directories(root_ / "a" / "b");
  Write(root_ / "a" / "b" / "kept.txt");
  ASSERT_TRUE(listings_.Find(root_ / "a" / "b", "KEPT.TXT"));

  fs::rename(root_ / "a" / "b", root_ / "old-b");
  fs::create_directory(root_ / "a" / "b");
  EXPECT_FALSE(listings_.Find(root_ / "a" / "b", "KEPT.TXT"));

  Write(root_ / "a" / "b" / "kept.txt");
  ASSERT_TRUE(listings_.Find(root_ / "a" / "b", "KEPT.TXT"));
  fs::rename(root_ / "a", root_ / "old-a");
  fs::create_directories(root_ / "a" / "b");
  EXPECT_FALSE(listings_.Find(root_ / "a" / "b", "KEPT.TXT"));

  fs::remove_all(root_ / "a");
  EXPECT_FALSE(listings_.Find(root_ / "a" / "b", "KEPT.TXT"));
  EXPECT_FALSE(listings_.Find(root_ / "a", "B"));
}

// A folder filled one file at a time, each looked up as it is made and
// renamed, as an extraction does: every answer stays right.
TEST_P(FolderListingsTest, AFolderBeingFilledAnswersEveryName) {
  for (int i = 0; i < 300; ++i) {
    const std::string temporary = "ZT" + std::to_string(i) + ".$$$";
    const std::string name = "file" + std::to_string(i) + ".txt";
    ASSERT_FALSE(listings_.Find(root_, temporary));
    Write(root_ / temporary);
    ASSERT_TRUE(listings_.Find(root_, temporary));
    fs::rename(root_ / temporary, root_ / name);
    ASSERT_FALSE(listings_.Find(root_, temporary));
    const std::optional<HostEntry> found =
        listings_.Find(root_, "FILE" + std::to_string(i) + ".TXT");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, name);
  }
}

std::string NameOf(const ::testing::TestParamInfo<Watching>& info) {
  switch (info.param) {
    case Watching::kEveryFolder:
      return "Watched";
    case Watching::kBusyFolders:
      return "WatchedWhenBusy";
    case Watching::kEveryFolderOnceBusy:
      return "AllWatchedOnceBusy";
    case Watching::kNone:
      break;
  }
  return "Stamped";
}

INSTANTIATE_TEST_SUITE_P(EveryWay, FolderListingsTest,
                         ::testing::Values(Watching::kEveryFolder, Watching::kBusyFolders,
                                           Watching::kEveryFolderOnceBusy, Watching::kNone),
                         NameOf);

}  // namespace
}  // namespace qv::sim
