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

// What a fresh listing of the folder answers for the name.
std::optional<HostEntry> FreshAnswer(const fs::path& folder, const std::string& name) {
  const std::string folded = platform::FoldName(kPage, name);
  std::optional<HostEntry> answer;
  std::error_code missing;
  if (!fs::is_directory(folder, missing)) return answer;
  for (const HostEntry& entry : VisibleEntries(folder, kPage)) {
    if (platform::FoldName(kPage, entry.name) == folded) answer = entry;
  }
  return answer;
}

bool SameAnswer(const std::optional<HostEntry>& a, const std::optional<HostEntry>& b) {
  return a.has_value() == b.has_value() && (!a || (a->name == b->name && a->folder == b->folder));
}

// Whether the listings answer every name as a fresh listing of the folder
// would, and which name failed.
std::string FirstWrongAnswer(FolderListings& listings, const fs::path& folder,
                             std::span<const std::string> names) {
  for (const std::string& name : names) {
    if (!SameAnswer(listings.Find(folder, name), FreshAnswer(folder, name))) return name;
  }
  return {};
}

// Looks a path up one name after another, as a path's lookup does, and
// names the first step answered otherwise than by a fresh listing.
std::string FirstWrongStep(FolderListings& listings, fs::path folder,
                           std::span<const std::string> names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::optional<HostEntry> found = listings.Find(folder, names[i], /*below_last=*/i > 0);
    if (!SameAnswer(found, FreshAnswer(folder, names[i]))) return (folder / names[i]).string();
    if (!found || !found->folder) break;
    folder /= found->name;
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

// Folders at every depth made, removed, renamed, exchanged and put in one
// another's places, each change followed by the lookup of every path down
// the tree: each step answers as a fresh listing, whatever the folders
// above were watched or listed as.
TEST_P(FolderListingsTest, LookupsDownChangingFoldersAnswerAsFreshListings) {
  const std::array<std::string, 3> names = {"a", "b", "c"};
  std::mt19937 random(11);
  const auto some_folder = [&] {
    fs::path path = root_;
    for (std::size_t depth = 1 + random() % 3; depth > 0; --depth)
      path /= names[random() % names.size()];
    return path;
  };
  for (int step = 0; step < 200; ++step) {
    const fs::path one = some_folder();
    const fs::path other = some_folder();
    std::error_code ignored;
    switch (random() % 5) {
      case 0:
        fs::create_directories(one, ignored);
        Write(one / "f.txt");
        break;
      case 1:
        fs::remove_all(one, ignored);
        break;
      case 2:
        fs::rename(one, other, ignored);
        break;
      case 3:  // another folder in its place
        fs::rename(one, root_ / "out", ignored);
        fs::create_directories(one, ignored);
        fs::remove_all(root_ / "out", ignored);
        break;
      case 4:
        ::renameat2(AT_FDCWD, one.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
    }
    for (const std::string& first : names) {
      for (const std::string& second : names) {
        for (const std::string& third : names) {
          const std::array<std::string, 4> path = {first, second, "F.TXT", third};
          ASSERT_EQ(FirstWrongStep(listings_, root_, path), "") << "after step " << step;
          const std::array<std::string, 4> deeper = {first, second, third, "F.TXT"};
          ASSERT_EQ(FirstWrongStep(listings_, root_, deeper), "") << "after step " << step;
        }
      }
    }
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

// A busy folder (listed again and again while it fills), watched, below
// one that is not: the folder above is moved away with it, and new ones of
// the same names made in their places. The lookup down the path must not
// take the moved folder's listing for the new one's. (Only where busy
// folders alone are watched can a watched folder lie below one unwatched.)
TEST(FolderListingsBusyTest, AWatchedFolderUnderOneMovedAwayIsListedAfresh) {
  const fs::path root = MakeTemporaryFolder("listings");
  FolderListings listings(kPage, Watching::kBusyFolders);
  const fs::path busy = root / "a" / "b";
  fs::create_directories(busy);
  const std::array<std::size_t, 3> files_made = {1, FolderListings::kBusyEntries, 1};
  for (std::size_t round = 0; round < files_made.size(); ++round) {
    for (std::size_t i = 0; i < files_made[round]; ++i)
      std::ofstream(busy / ("f" + std::to_string(round) + "-" + std::to_string(i))) << "x";
    ASSERT_TRUE(listings.Find(busy, "F0-0"));
  }
  const std::array<std::string, 3> path = {"A", "B", "F0-0"};
  ASSERT_EQ(FirstWrongStep(listings, root, path), "");

  fs::rename(root / "a", root / "old");
  fs::create_directories(busy);
  EXPECT_EQ(FirstWrongStep(listings, root, path), "");
  fs::remove_all(root);
}

}  // namespace
}  // namespace qv::sim
