#include "sim/screen_pictures.h"

#include <gtest/gtest.h>

#include "sim/host_io.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

namespace fs = std::filesystem;

TEST(ScreenPictures, TheLatestTextIsThatOfTheHighestNumber) {
  TestMachine test;
  const fs::path state = test.folder() / "state";
  EXPECT_FALSE(LatestScreenText(state));
  WriteFileAtomically(state / "screen-999.txt", "old");
  WriteFileAtomically(state / "screen-1000.txt", "new");
  WriteFileAtomically(state / "screen-1000.png", "");
  WriteFileAtomically(state / "screen-x.txt", "");
  EXPECT_EQ(LatestScreenText(state), "new");

  // A later boot of a run numbers its pictures after those.
  Machine& machine = test.machine();
  machine.pictures().ContinueNumbering();
  machine.pictures().Take(machine.desktop());
  ASSERT_EQ(machine.pictures().taken().size(), 1u);
  EXPECT_EQ(machine.pictures().taken()[0].filename(), "screen-1001.png");
  EXPECT_EQ(LatestScreenText(state), "");
}

TEST(ClearBootState, RemovesWhatABootWritesAndNothingElse) {
  TestMachine test;
  const fs::path state = test.folder() / "state";
  for (const char* name : {"screen-001.png", "screen-001.txt", "transcript.jsonl", "transcript.txt",
                           "launched.json", "mutex-Vornkey.lock", "notes"}) {
    WriteFileAtomically(state / name, "");
  }
  ClearBootState(state);
  std::vector<std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(state))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"mutex-Vornkey.lock", "notes"}));
}

TEST(ScreenPictures, APictureThatCannotBeWrittenIsNotedAndTheBootGoesOn) {
  TestMachine test;
  Machine& machine = test.machine();
  ScreenPictures pictures(test.folder() / "no such folder", LoadScreenFonts());
  pictures.Take(machine.desktop());
  EXPECT_TRUE(pictures.taken().empty());
  ASSERT_EQ(pictures.errors().size(), 1u);
}

}  // namespace
}  // namespace qv::sim
