// Adding, replacing and deleting members: the work archive, what it copies,
// and that a failed update leaves the archive as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_library.h"
#include "archive/archive_test_support.h"
#include "archive/member_header.h"
#include "platform/fault_injector.h"

namespace qv::archive {
namespace {

namespace fs = std::filesystem;
using Numbers = std::vector<std::int32_t>;
using Names = std::vector<std::string>;

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { library_.ArchiveSetCallback(kProgressCallbackCode, log_.Callback()); }

  // Writes a file on C: with the example's time.
  void WriteFile(const std::string& path, const std::string& bytes) {
    machine_.WriteHost(path, bytes);
    std::string dos = "C:\\" + path;
    std::replace(dos.begin(), dos.end(), '/', '\\');
    machine_.files().SetTimes(dos, kExampleTime, kExampleTime);
  }
  // The names of an archive's members, read with a fresh library.
  Names MembersOf(const std::string& archive) {
    ArchiveLibrary reader(machine_.files());
    Names names;
    reader.ArchiveSetCallback(kProgressCallbackCode, [&](MemberRecord& record, int event, int) {
      if (event == event::kAboutToExtract) names.emplace_back(record.name_view());
      return 1;
    });
    EXPECT_EQ(reader.ArchiveOpen(archive, kModeKeepPaths | kModeReadOnly), Status::kOk);
    reader.ArchiveSelectExtract("*.*", "");
    reader.ArchiveProcess();
    reader.ArchiveClose();
    return names;
  }
  // One update of an archive on C: with add and delete entries: the walk's
  // result (the archive is closed again).
  Status Update(const std::string& archive, std::uint32_t mode, const Names& adds,
                const Names& deletes = {}) {
    EXPECT_EQ(library_.ArchiveOpen(archive, mode), Status::kOk);
    for (const std::string& pattern : adds)
      EXPECT_EQ(library_.ArchiveSelectAdd(pattern), Status::kOk);
    for (const std::string& pattern : deletes)
      EXPECT_EQ(library_.ArchiveSelectDelete(pattern), Status::kOk);
    const Status status = library_.ArchiveProcess();
    EXPECT_EQ(library_.ArchiveClose(), Status::kOk);
    return status;
  }
  // C:\T.ARQ with the members A (5,000 bytes) and B; returns its bytes.
  std::string WriteArchiveOfAAndB() {
    const std::string bytes =
        ArchiveBytes({{.name = "A", .data = std::string(5000, 'a')}, {.name = "B", .data = "b"}});
    machine_.WriteHost("T.ARQ", bytes);
    return bytes;
  }
  // No work archive anywhere on C:.
  bool NoWorkArchiveLeft() const {
    for (const auto& entry : fs::recursive_directory_iterator(machine_.Host(""))) {
      if (entry.path().filename().string().starts_with("ZT")) return false;
    }
    return true;
  }

  sim::TestMachine machine_;
  ArchiveLibrary library_{machine_.files()};
  EventLog log_;
};

TEST_F(UpdateTest, AddedExampleFileIsStoredByteForByte) {
  WriteFile("A.TXT", "abc");
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {"C:\\A.TXT"}), Status::kOk);
  const std::string archive = machine_.ReadHost("T.ARQ");
  ASSERT_EQ(archive.size(), 46u + 3u + 41u);
  EXPECT_EQ(archive.substr(0, 49), MemberBytes({.name = "A.TXT", .data = "abc"}));
  EXPECT_EQ(archive.substr(49, 8), std::string("\x67\x57\x04\x01\x31\x12\x00\x00", 8));
  EXPECT_EQ(log_.Numbers({event::kSearchBlock}), (Numbers{51, 46, 1, 6, 53, 47, 52}));
  EXPECT_EQ(log_.Of(event::kAddEntryDone), (std::vector<Event>{{53, 1, "C:\\A.TXT"}}));
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, ReplacingRaisesEventFourAndKeepsOneMemberOfTheName) {
  machine_.WriteHost(
      "T.ARQ", ArchiveBytes({{.name = "A.TXT", .data = "old"}, {.name = "B.TXT", .data = "b"}}));
  WriteFile("A.TXT", "new");
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {"A.TXT"}), Status::kOk);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock, event::kCopyProgress}),
            (Numbers{51, 46, 4, 6, 53, 47, 52}));
  EXPECT_EQ(MembersOf("C:\\T.ARQ"), (Names{"A.TXT", "B.TXT"}));
  EXPECT_EQ(machine_.ReadHost("T.ARQ").substr(0, 49),
            MemberBytes({.name = "A.TXT", .data = "new"}));
}

TEST_F(UpdateTest, AddPatternDropsEveryOldMemberItWouldAdd) {
  machine_.WriteHost(
      "T.ARQ", ArchiveBytes({{.name = "OLD.TXT", .data = "o"}, {.name = "KEEP.DAT", .data = "k"}}));
  WriteFile("NEW.TXT", "n");
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {"*.TXT"}), Status::kOk);
  EXPECT_EQ(MembersOf("C:\\T.ARQ"), (Names{"NEW.TXT", "KEEP.DAT"}));

  // With paths, only the members of the pattern's own folder tree.
  machine_.WriteHost("P.ARQ", ArchiveBytes({{.name = "WORK/OLD.TXT", .data = "o"},
                                            {.name = "WORK/SUB/GONE.TXT", .data = "g"},
                                            {.name = "OTHER/X.TXT", .data = "x"}}));
  WriteFile("WORK/SUB/NEW.TXT", "n");
  ASSERT_TRUE(machine_.files().ChangeFolder("C:\\WORK"));
  EXPECT_EQ(Update("C:\\P.ARQ", kModeKeepPaths, {"*.TXT"}), Status::kOk);
  EXPECT_EQ(MembersOf("C:\\P.ARQ"), (Names{"WORK\\SUB\\NEW.TXT", "OTHER\\X.TXT"}));
}

TEST_F(UpdateTest, DeletingOneMemberKeepsAllOthers) {
  machine_.WriteHost("T.ARQ", ArchiveBytes({{.name = "A", .data = "a"},
                                            {.name = "B", .data = "b"},
                                            {.name = "C", .data = std::string(9000, 'c')}}));
  EXPECT_EQ(Update("C:\\T.ARQ", kModeKeepPaths, {}, {"B"}), Status::kOk);
  EXPECT_EQ(log_.Of(event::kDeleted), (std::vector<Event>{{2, 0, "B"}}));
  // The members as they were; the end marker repeats the last member's fields.
  const std::string members = MemberBytes({.name = "A", .data = "a"}) +
                              MemberBytes({.name = "C", .data = std::string(9000, 'c')});
  EXPECT_EQ(machine_.ReadHost("T.ARQ").substr(0, members.size()), members);
  EXPECT_EQ(machine_.ReadHost("T.ARQ").size(), members.size() + 41);
  EXPECT_EQ(MembersOf("C:\\T.ARQ"), (Names{"A", "C"}));
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, EncryptedMemberStaysOnDelete) {
  const std::string bytes = ArchiveBytes(
      {{.name = "S", .data = "s", .flags = kFlagEncrypted}, {.name = "T", .data = "t"}});
  machine_.WriteHost("T.ARQ", bytes);
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {}, {"S"}), Status::kOk);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock, event::kCopyProgress}),
            (Numbers{51, 46, 42, -29, 47, 52}));
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), bytes);
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, ExtractOnlyUpdateWritesNothing) {
  const std::string bytes = ArchiveBytes({{.name = "A", .data = "a"}});
  machine_.WriteHost("T.ARQ", bytes);
  const auto time = fs::last_write_time(machine_.Host("T.ARQ"));
  ASSERT_EQ(library_.ArchiveOpen("C:\\T.ARQ", 0), Status::kOk);
  library_.ArchiveSelectExtract("*.*", "C:\\OUT");
  EXPECT_EQ(library_.ArchiveProcess(), Status::kOk);
  library_.ArchiveClose();
  EXPECT_EQ(machine_.ReadHost("OUT/A"), "a");
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), bytes);
  EXPECT_EQ(fs::last_write_time(machine_.Host("T.ARQ")), time);
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, ExtractedAndCopiedMemberKeepsItsStoredName) {
  machine_.WriteHost("T.ARQ",
                     ArchiveBytes({{.name = "DIR/A", .data = "a"}, {.name = "B", .data = "b"}}));
  ASSERT_EQ(library_.ArchiveOpen("C:\\T.ARQ", kModeKeepPaths), Status::kOk);
  library_.ArchiveSelectDelete("B");
  library_.ArchiveSelectExtract("*.*", "C:\\OUT");
  EXPECT_EQ(library_.ArchiveProcess(), Status::kOk);
  library_.ArchiveClose();
  EXPECT_EQ(machine_.ReadHost("OUT/DIR/A"), "a");
  EXPECT_EQ(MembersOf("C:\\T.ARQ"), (Names{"DIR\\A"}));
}

TEST_F(UpdateTest, WildcardAddSearchesFoldersDepthFirstButNeverAddsTheArchive) {
  for (const char* file : {"PKG/A.TXT", "PKG/S1/B.TXT", "PKG/S1/T/C.TXT", "PKG/S2/D.TXT"})
    WriteFile(file, "x");
  EXPECT_EQ(Update("C:\\PKG\\P.ARQ", kModeKeepPaths, {"C:\\PKG\\*.*"}), Status::kOk);
  EXPECT_EQ(MembersOf("C:\\PKG\\P.ARQ"),
            (Names{"PKG\\A.TXT", "PKG\\S1\\B.TXT", "PKG\\S1\\T\\C.TXT", "PKG\\S2\\D.TXT"}));
  EXPECT_EQ(log_.Of(event::kSearchDirectory), (std::vector<Event>{{11, 1, "C:\\PKG\\"},
                                                                  {11, 2, "C:\\PKG\\S1\\"},
                                                                  {11, 3, "C:\\PKG\\S1\\T\\"},
                                                                  {11, 4, "C:\\PKG\\S2\\"}}));
  EXPECT_EQ(log_.Of(event::kSearchFinished).at(0).value, 4);
}

TEST_F(UpdateTest, FailedCopyLeavesTheArchiveAsItWas) {
  const std::string bytes = WriteArchiveOfAAndB();
  platform::FaultInjector faults(machine_.machine().platform());
  ArchiveLibrary library(faults);
  library.ArchiveSetCallback(kProgressCallbackCode, log_.Callback());
  ASSERT_EQ(library.ArchiveOpen("C:\\T.ARQ", 0), Status::kOk);
  library.ArchiveSelectDelete("B");
  faults.FailCall(platform::Call::kWrite, 2, platform::WinError::kDiskFull);
  EXPECT_EQ(library.ArchiveProcess(), Status::kWriteError);
  EXPECT_EQ(library.ArchiveClose(), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), bytes);
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, WorkArchiveThatFailsToCloseDoesNotReplaceTheArchive) {
  // A stream that holds written bytes back writes them as it closes.
  const std::string bytes = WriteArchiveOfAAndB();
  platform::FaultInjector faults(machine_.machine().platform());
  ArchiveLibrary library(faults);
  ASSERT_EQ(library.ArchiveOpen("C:\\T.ARQ", 0), Status::kOk);
  library.ArchiveSelectDelete("B");
  EXPECT_EQ(library.ArchiveProcess(), Status::kOk);
  faults.FailCall(platform::Call::kClose, faults.CallCount(platform::Call::kClose) + 1,
                  platform::WinError::kDiskFull, /*from_then_on=*/true);
  EXPECT_EQ(library.ArchiveClose(), Status::kWriteError);
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), bytes);
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, CancelledOrDamagedUpdateLeavesTheArchiveAsItWas) {
  const std::string bytes =
      ArchiveBytes({{.name = "A", .data = std::string(9000, 'a')}, {.name = "B", .data = "b"}});
  machine_.WriteHost("T.ARQ", bytes);
  WriteFile("N.TXT", "n");
  library_.ArchiveSetCallback(kProgressCallbackCode, [](MemberRecord& record, int event, int) {
    if (event == event::kCopyProgress) record.status_word = kStatusWordCancel;
    return 0;
  });
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {"N.TXT"}), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), bytes);

  // A damaged header part way: nothing behind it could be copied.
  const std::string damaged = bytes.substr(0, 9042) + "garbage";
  machine_.WriteHost("T.ARQ", damaged);
  library_.ArchiveSetCallback(kProgressCallbackCode, nullptr);
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {"N.TXT"}), Status::kCorruptHeader);
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), damaged);
  EXPECT_TRUE(NoWorkArchiveLeft());
}

TEST_F(UpdateTest, FailedMemberIsNotReadableAndLaterOnesFollowIt) {
  WriteFile("A.TXT", "a");
  WriteFile("B.TXT", std::string(20'000, 'b'));
  WriteFile("C.TXT", "c");
  platform::FaultInjector faults(machine_.machine().platform());
  ArchiveLibrary library(faults);
  library.ArchiveSetCallback(kProgressCallbackCode, log_.Callback());
  ASSERT_EQ(library.ArchiveOpen("C:\\T.ARQ", 0), Status::kOk);
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
    library.ArchiveSelectAdd(name);
  // The second file's status, which the encoder takes, cannot be had.
  faults.FailCall(platform::Call::kStatus, 2);
  EXPECT_EQ(library.ArchiveProcess(), Status::kOk);
  library.ArchiveClose();
  EXPECT_EQ(MembersOf("C:\\T.ARQ"), (Names{"A.TXT", "C.TXT"}));
  EXPECT_EQ(log_.Of(-12).size(), 1u);
  std::vector<std::int32_t> added;
  for (const Event& event : log_.Of(event::kAddEntryDone))
    added.push_back(event.value);
  EXPECT_EQ(added, (Numbers{1, 0, 1}));
}

TEST_F(UpdateTest, MultiVolumeArchiveIsNotUpdated) {
  const std::string bytes = ArchiveBytes(
      {{.name = "PART", .data = "p", .flags = kFlagContinued, .needed_version = 0x30}});
  machine_.WriteHost("T.ARQ", bytes);
  WriteFile("N.TXT", "n");
  EXPECT_EQ(Update("C:\\T.ARQ", 0, {"N.TXT"}), Status::kNotSupported);
  EXPECT_EQ(machine_.ReadHost("T.ARQ"), bytes);
  EXPECT_TRUE(log_.Of(event::kAdded).empty());
}

}  // namespace
}  // namespace qv::archive
