#include "archive/archive_library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_test_support.h"
#include "archive/signature_search.h"

namespace qv::archive {
namespace {

namespace fs = std::filesystem;

class ArchiveLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { library_.ArchiveSetCallback(kProgressCallbackCode, log_.Callback()); }

  // Extracts everything of an open archive into C:\OUT and reads back a file.
  std::string ExtractOne(std::string_view name) {
    EXPECT_EQ(library_.ArchiveSelectExtract("*.*", "C:\\OUT"), Status::kOk);
    EXPECT_EQ(library_.ArchiveProcess(), Status::kOk);
    return machine_.ReadHost("OUT/" + std::string(name));
  }

  sim::TestMachine machine_;
  ArchiveLibrary library_{machine_.files()};
  EventLog log_;
};

TEST_F(ArchiveLibraryTest, CallbackCodes) {
  EXPECT_EQ(library_.ArchiveInit(), Status::kOk);
  EXPECT_EQ(library_.ArchiveSetCallback(102, log_.Callback()), Status::kBadArgument);
  EXPECT_EQ(library_.ArchiveSetCallback(kOverwriteCallbackCode, nullptr), Status::kOk);
  EXPECT_EQ(library_.ArchiveSetCallback(kProgressCallbackCode, nullptr), Status::kOk);
  machine_.WriteHost("E.ARQ", EndMarkerBytes());
  ASSERT_EQ(library_.ArchiveOpen("E.ARQ", kModeReadOnly), Status::kOk);
  library_.ArchiveClose();
  EXPECT_TRUE(log_.events.empty());
}

TEST_F(ArchiveLibraryTest, CheckTellsArchivesFromOtherFiles) {
  machine_.WriteHost("UPDATE.arq", EndMarkerBytes());
  // The file system drops the trailing dot: "A.B." names A.B.
  machine_.WriteHost("A.B", ArchiveBytes({{.name = "X", .data = "x"}}));
  std::filesystem::create_directories(machine_.Host("DIR.ARQ"));
  machine_.WriteHost("EMPTY.ARQ", "");
  machine_.WriteHost("JUNK.ARQ", "12345678");
  EXPECT_EQ(library_.ArchiveCheck("UPDATE"), Status::kOk);
  EXPECT_EQ(library_.ArchiveCheck("UPDATE  "), Status::kOk);
  EXPECT_EQ(library_.ArchiveCheck("A.B."), Status::kOk);
  EXPECT_EQ(library_.ArchiveCheck("MISSING"), Status::kFileNotFound);
  EXPECT_EQ(library_.ArchiveCheck("EMPTY.ARQ"), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveCheck("JUNK.ARQ"), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveCheck(std::nullopt), Status::kBadArgument);
  EXPECT_EQ(library_.ArchiveCheck("DIR.ARQ"), Status::kCannotOpen);
}

TEST_F(ArchiveLibraryTest, EmbeddedArchiveIsFoundWithinTheBlocksOfTheFirst200000Bytes) {
  const std::string archive = ArchiveBytes({{.name = "IN.TXT", .data = "inside"}});
  machine_.WriteHost("SETUP.EXE", std::string(10'000, 'M') + archive);
  EXPECT_EQ(library_.ArchiveCheck("SETUP.EXE"), Status::kOk);
  ASSERT_EQ(library_.ArchiveOpen("SETUP.EXE", kModeReadOnly), Status::kOk);
  EXPECT_EQ(ExtractOne("IN.TXT"), "inside");
  library_.ArchiveClose();
  EXPECT_FALSE(log_.Of(event::kSearchBlock).empty());

  // Whole blocks of 6,144 bytes are read until more than 200,000 were: 33
  // blocks, and the whole signature must lie within them.
  machine_.WriteHost("PAST.EXE", std::string(199'999, 'M') + archive);
  EXPECT_EQ(library_.ArchiveCheck("PAST.EXE"), Status::kOk);
  machine_.WriteHost("EDGE.EXE", std::string(33 * 6'144 - 4, 'M') + archive);
  EXPECT_EQ(library_.ArchiveCheck("EDGE.EXE"), Status::kOk);
  machine_.WriteHost("LATE.EXE", std::string(33 * 6'144 - 3, 'M') + archive);
  EXPECT_EQ(library_.ArchiveCheck("LATE.EXE"), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveOpen("LATE.EXE", kModeReadOnly), Status::kNotAnArchive);
  // A name ending in .arq must begin with a member.
  machine_.WriteHost("LEAD.ARQ", "M" + archive);
  EXPECT_EQ(library_.ArchiveCheck("LEAD.ARQ"), Status::kNotAnArchive);
}

TEST_F(ArchiveLibraryTest, SignatureIsFoundInsideAFailedPartialMatch) {
  machine_.WriteHost("X.BIN", "\x67" + ArchiveBytes({{.name = "A", .data = "a"}}));
  FileSlots slots(machine_.files());
  const int slot = slots.Open("X.BIN", open_mode::kReadOnly);
  int blocks = 0;
  EXPECT_EQ(FindSignature(slots, slot, kEmbeddedSearchLimit, [&] { return ++blocks > 0; }), 1);
  EXPECT_EQ(blocks, 1);
  EXPECT_EQ(slots.Tell(slot), 0);
  EXPECT_EQ(FindSignature(slots, slot, kEmbeddedSearchLimit, [] { return false; }),
            ToInt(Status::kCanceled));
}

TEST_F(ArchiveLibraryTest, CallsOutsideTheirStateFail) {
  machine_.WriteHost("A.ARQ", ArchiveBytes({{.name = "A", .data = "a"}}));
  EXPECT_EQ(library_.ArchiveSelectExtract("*.*", ""), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveProcess(), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveClose(), Status::kOk);
  EXPECT_EQ(library_.ArchiveOpen(std::nullopt, kModeReadOnly), Status::kBadArgument);
  ASSERT_EQ(library_.ArchiveOpen("A", kModeReadOnly), Status::kOk);
  EXPECT_EQ(library_.ArchiveOpen("A", kModeReadOnly), Status::kAlreadyOpen);
  EXPECT_EQ(library_.ArchiveSelectExtract("[A-", ""), Status::kBadArgument);
  EXPECT_EQ(library_.ArchiveSelectExtract(std::nullopt, ""), Status::kBadArgument);
  EXPECT_EQ(library_.ArchiveSelectExtract("*.*", std::nullopt), Status::kBadArgument);
  EXPECT_EQ(library_.ArchiveProcess(), Status::kOk);
  EXPECT_EQ(library_.ArchiveProcess(), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveSelectExtract("*.*", ""), Status::kNotAnArchive);
  EXPECT_EQ(library_.ArchiveClose(), Status::kOk);
  EXPECT_EQ(library_.ArchiveOpen("A", kModeReadOnly), Status::kOk);
  EXPECT_EQ(library_.ArchiveOpen("MISSING", kModeReadOnly), Status::kAlreadyOpen);
  library_.ArchiveClose();
  EXPECT_EQ(library_.ArchiveOpen("MISSING", kModeReadOnly), Status::kCannotOpen);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock}),
            (std::vector<std::int32_t>{52, 51, 46, 47, 52, 51, 52}));
}

TEST_F(ArchiveLibraryTest, DestinationsAreKeptAsTheyNeedToBe) {
  machine_.WriteHost("A.ARQ", ArchiveBytes({{.name = "A.TXT", .data = "a"}}));
  ASSERT_TRUE(machine_.files().ChangeFolder("C:\\SCOPE"));
  ASSERT_EQ(library_.ArchiveOpen("\\A", kModeReadOnly), Status::kOk);
  library_.ArchiveSelectExtract("*.*", "C:");
  library_.ArchiveSelectExtract("*.*", "C:\\X");
  library_.ArchiveProcess();
  library_.ArchiveClose();
  // The first entry that matches takes the member: C: is C:'s current folder.
  EXPECT_EQ(log_.Of(event::kAboutToExtract).at(0).name, "C:A.TXT");
  EXPECT_EQ(machine_.ReadHost("scope/A.TXT"), "a");
}

TEST_F(ArchiveLibraryTest, CloseLeavesAReadArchiveAloneAndRemovesAnEmptyOne) {
  const std::string bytes = ArchiveBytes({{.name = "A", .data = "a"}});
  machine_.WriteHost("KEEP.ARQ", bytes);
  const auto time = fs::last_write_time(machine_.Host("KEEP.ARQ"));
  ASSERT_EQ(library_.ArchiveOpen("KEEP.ARQ", kModeReadOnly), Status::kOk);
  library_.ArchiveClose();
  EXPECT_EQ(machine_.ReadHost("KEEP.ARQ"), bytes);
  EXPECT_EQ(fs::last_write_time(machine_.Host("KEEP.ARQ")), time);

  machine_.WriteHost("EMPTY.ARQ", "");
  ASSERT_EQ(library_.ArchiveOpen("EMPTY.ARQ", kModeReadOnly), Status::kOk);
  library_.ArchiveClose();
  EXPECT_FALSE(fs::exists(machine_.Host("EMPTY.ARQ")));

  // An update that changes nothing leaves neither a new archive nor a work
  // archive behind.
  ASSERT_EQ(library_.ArchiveOpen("NEW", 0), Status::kOk);
  EXPECT_TRUE(fs::exists(machine_.Host("NEW.arq")));
  EXPECT_TRUE(fs::exists(machine_.Host("ZT00001.$$$")));
  EXPECT_EQ(library_.ArchiveProcess(), Status::kOk);
  library_.ArchiveClose();
  EXPECT_FALSE(fs::exists(machine_.Host("NEW.arq")));
  EXPECT_FALSE(fs::exists(machine_.Host("ZT00001.$$$")));
}

TEST_F(ArchiveLibraryTest, SlotTableHoldsTwentyFiles) {
  FileSlots slots(machine_.files());
  for (int i = 0; i < FileSlots::kSlotCount; ++i) {
    EXPECT_EQ(slots.Open("F" + std::to_string(i), open_mode::kWriteNew), i);
  }
  EXPECT_EQ(slots.Open("F20", open_mode::kWriteNew), ToInt(Status::kTooManyHandles));
  EXPECT_EQ(slots.Open("", open_mode::kReadOnly), ToInt(Status::kBadArgument));
  EXPECT_EQ(slots.Close(3), Status::kOk);
  EXPECT_EQ(slots.Close(3), Status::kCannotOpen);
  EXPECT_EQ(slots.Reserve(3), Status::kOk);
  EXPECT_EQ(slots.Open("MISSING", open_mode::kReadOnly), ToInt(Status::kError));
  EXPECT_EQ(slots.Open("F20", 0), ToInt(Status::kBadArgument));
  EXPECT_EQ(slots.Open("F20", open_mode::kWriteNew), ToInt(Status::kTooManyHandles));
  EXPECT_EQ(slots.Release(3), Status::kOk);
  EXPECT_EQ(slots.Open("f20", open_mode::kWriteNew), 3);
  EXPECT_EQ(slots.NameOf(3), "F20");
  EXPECT_EQ(StreamModeFor(open_mode::kReadAppend), "a+b");
  EXPECT_EQ(StreamModeFor(open_mode::kWriteNew), "wb");
  EXPECT_EQ(StreamModeFor(open_mode::kReadWriteNew), "w+b");
  EXPECT_EQ(StreamModeFor(open_mode::kUpdate | open_mode::kRead), "r+b");
}

}  // namespace
}  // namespace qv::archive
