// Extraction through the whole library: targets, events, and every way a
// member is passed over or fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "archive/archive_library.h"
#include "archive/archive_test_support.h"
#include "platform/fault_injector.h"

namespace qv::archive {
namespace {

namespace fs = std::filesystem;
using Numbers = std::vector<std::int32_t>;

std::string Repeated(std::size_t size) {
  std::string text;
  while (text.size() < size)
    text += "the probe triggers on channel " + std::to_string(text.size() % 97) + "\n";
  return text.substr(0, size);
}

class ExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override { library_.ArchiveSetCallback(kProgressCallbackCode, log_.Callback()); }

  // Writes the archive and extracts it with one entry; the walk's result.
  Status Extract(const std::vector<TestMember>& members, std::uint32_t mode = kModeKeepPaths,
                 const char* pattern = "*.*", const char* destination = "C:\\OUT") {
    machine_.WriteHost("T.ARQ", ArchiveBytes(members));
    EXPECT_EQ(library_.ArchiveOpen("C:\\T.ARQ", mode | kModeReadOnly), Status::kOk);
    EXPECT_EQ(library_.ArchiveSelectExtract(pattern, destination), Status::kOk);
    const Status status = library_.ArchiveProcess();
    library_.ArchiveClose();
    return status;
  }
  // Every host file below the machine's drive C:, relative.
  std::vector<std::string> FilesOnC() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(machine_.Host(""))) {
      if (entry.is_regular_file()) {
        names.push_back(entry.path().lexically_relative(machine_.Host("")).string());
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  sim::TestMachine machine_;
  ArchiveLibrary library_{machine_.files()};
  EventLog log_;
};

TEST_F(ExtractionTest, KeepPathsPlacesMembersInTheirFolders) {
  const std::vector<TestMember> members = {{.name = "bin/app.exe", .data = "app"}};
  EXPECT_EQ(Extract(members, kModeKeepPaths, "*.*", "\\SCOPE\\UPGRADE"), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("scope/upgrade/BIN/APP.EXE"), "app");
  EXPECT_EQ(log_.Of(event::kAboutToExtract).at(0).name, "\\SCOPE\\UPGRADE\\BIN\\APP.EXE");
  EXPECT_EQ(Extract(members, 0, "*.*", "\\NEW\\DEST"), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("NEW/DEST/APP.EXE"), "app");
}

TEST_F(ExtractionTest, PatternsSelectMembers) {
  const std::vector<TestMember> members = {{.name = "README", .data = "r"},
                                           {.name = "a/APP.EXE", .data = "1"},
                                           {.name = "b/APP.EXE", .data = "2"},
                                           {.name = "BANANA.TXT", .data = "b"}};
  EXPECT_EQ(Extract(members, kModeKeepPaths, "*.*"), Status::kOk);
  EXPECT_EQ(log_.Of(event::kAboutToExtract).size(), 4u);

  // Without a wildcard only the first member of that file name, and the walk
  // ends after it.
  log_.events.clear();
  EXPECT_EQ(Extract(members, kModeKeepPaths, "APP.EXE", "C:\\ONE"), Status::kOk);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock}), (Numbers{51, 46, 44, 5, 7, 47, 52}));
  EXPECT_EQ(machine_.ReadHost("ONE/A/APP.EXE"), "1");

  // A pattern with a folder selects by folder too.
  log_.events.clear();
  EXPECT_EQ(Extract(members, kModeKeepPaths, "B\\APP.EXE", "C:\\TWO"), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("TWO/B/APP.EXE"), "2");
  EXPECT_FALSE(fs::exists(machine_.Host("TWO/A")));

  log_.events.clear();
  EXPECT_EQ(Extract(members, kModeKeepPaths, "*A.TXT", "C:\\NONE"), Status::kOk);
  EXPECT_TRUE(log_.Of(event::kAboutToExtract).empty());
}

TEST_F(ExtractionTest, StoredMemberReportsEveryEighthBlock) {
  EXPECT_EQ(Extract({{.name = "S.BIN", .data = std::string(40'000, 's')}}), Status::kOk);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock}), (Numbers{51, 46, 44, 5, 3, 7, 47, 52}));
  EXPECT_EQ(log_.Of(event::kExtractProgress).at(0).value, 32'768);
  EXPECT_EQ(log_.Of(event::kExtractProgress).at(0).name, "C:\\OUT\\S.BIN");
  EXPECT_EQ(machine_.ReadHost("OUT/S.BIN"), std::string(40'000, 's'));
}

TEST_F(ExtractionTest, CompressedMemberReportsEveryChunk) {
  const std::string text = Repeated(10'000);
  EXPECT_EQ(Extract({{.name = "C.TXT", .data = text, .compress = true}}), Status::kOk);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock}), (Numbers{51, 46, 44, 3, 3, 3, 7, 47, 52}));
  const std::vector<Event> progress = log_.Of(event::kExtractProgress);
  EXPECT_EQ(progress.at(1).value, 4096);
  EXPECT_EQ(progress.at(2).value, 8192);
  EXPECT_EQ(machine_.ReadHost("OUT/C.TXT"), text);
}

TEST_F(ExtractionTest, CrcMismatchLeavesTheTargetAndNoTemporaryFile) {
  machine_.WriteHost("OUT/C.TXT", "old");
  for (const bool compress : {false, true}) {
    log_.events.clear();
    EXPECT_EQ(
        Extract({{.name = "C.TXT", .data = Repeated(5000), .compress = compress, .crc = 0x12345678},
                 {.name = "NEXT.TXT", .data = "n"}}),
        Status::kError);
    EXPECT_EQ(machine_.ReadHost("OUT/C.TXT"), "old");
    for (const std::string& file : FilesOnC())
      EXPECT_EQ(file.find("ZT"), std::string::npos);
    ASSERT_EQ(log_.Of(-7).size(), 1u);
    EXPECT_NE(log_.Of(-7).at(0).value, 0x12345678);
    // Event 7 comes when all bytes are written, before the CRC is compared.
    EXPECT_EQ(log_.Numbers({event::kSearchBlock}), compress
                                                       ? (Numbers{51, 46, 44, 3, 3, 7, -7, 47, 52})
                                                       : (Numbers{51, 46, 44, 5, 7, -7, 47, 52}));
  }
  EXPECT_FALSE(fs::exists(machine_.Host("OUT/NEXT.TXT")));
}

TEST_F(ExtractionTest, ReadOnlyTargetStaysUnlessTheCallbackFreesIt) {
  machine_.WriteHost("OUT/R.TXT", "old");
  ASSERT_TRUE(machine_.files().SetWritable("C:\\OUT\\R.TXT", false));
  EXPECT_EQ(Extract({{.name = "R.TXT", .data = "new"}}), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("OUT/R.TXT"), "old");
  EXPECT_EQ(log_.Of(event::kTargetReadOnly),
            (std::vector<Event>{{48, 0, "C:\\OUT\\R.TXT"}, {48, 1, "C:\\OUT\\R.TXT"}}));

  library_.ArchiveSetCallback(kProgressCallbackCode, [&](MemberRecord& record, int event, int) {
    if (event == event::kTargetReadOnly) machine_.files().SetWritable(record.name_view(), true);
    return 0;
  });
  EXPECT_EQ(Extract({{.name = "R.TXT", .data = "new"}}), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("OUT/R.TXT"), "new");
}

TEST_F(ExtractionTest, ModeWordGivesReadOnlyAttributeAndTime) {
  EXPECT_EQ(Extract({{.name = "W.TXT", .data = "w", .mode = 0x81B6},
                     {.name = "R.TXT", .data = "r", .mode = 0x8124}}),
            Status::kOk);
  platform::Files& files = machine_.files();
  EXPECT_TRUE(files.Access("C:\\OUT\\W.TXT", platform::AccessCheck::kWrite));
  EXPECT_EQ(files.Status("C:\\OUT\\W.TXT")->write_time, kExampleTime);
  EXPECT_EQ(files.Status("C:\\OUT\\W.TXT")->access_time, kExampleTime);
  EXPECT_FALSE(files.Access("C:\\OUT\\R.TXT", platform::AccessCheck::kWrite));
  EXPECT_NE(files.Status("C:\\OUT\\R.TXT")->write_time, kExampleTime);
}

TEST_F(ExtractionTest, NamesThatLeaveTheDestinationArePassedOver) {
  const std::vector<TestMember> members = {{.name = "../EVIL.TXT", .data = "e"},
                                           {.name = "A/../../EVIL.TXT", .data = "e"},
                                           {.name = "/ROOT.TXT", .data = "e"},
                                           {.name = "C:/DRIVE.TXT", .data = "e"},
                                           {.name = "C:DRIVE.TXT", .data = "e"},
                                           {.name = "..", .data = "e"},
                                           {.name = "A\x01"
                                                    "B",
                                            .data = "e"},
                                           // devices on the instrument
                                           {.name = "nul", .data = "e"},
                                           {.name = "DIR/CON.TXT", .data = "e"},
                                           {.name = "Com1.log", .data = "e", .host_code = 3},
                                           {.name = "GOOD.TXT", .data = "g"}};
  for (const std::uint32_t mode : {kModeKeepPaths, 0u}) {
    log_.events.clear();
    EXPECT_EQ(Extract(members, mode, "*.*", "C:\\D\\OUT"), Status::kOk);
    EXPECT_EQ(machine_.ReadHost("D/OUT/GOOD.TXT"), "g");
    EXPECT_EQ(log_.Of(event::kAboutToExtract).size(), members.size());
    // Without paths only the file part counts: "EVIL.TXT", "DRIVE.TXT" and
    // "ROOT.TXT" are harmless there.
    EXPECT_EQ(log_.Of(-15).size(), mode == kModeKeepPaths ? 10u : 5u);
  }
  for (const std::string& file : FilesOnC()) {
    EXPECT_TRUE(file.starts_with("D/OUT/") || file == "T.ARQ" || file.starts_with("scope/") ||
                file.starts_with("windows/") || file.starts_with("preldr"))
        << file;
  }
}

TEST_F(ExtractionTest, NameChangedAtEvent44IsUsedWhenItStaysInTheDestination) {
  std::map<std::string, std::string> renames = {
      {"C:\\OUT\\A.TXT", "C:\\OUT\\SUB\\RENAMED.TXT"},
      {"C:\\OUT\\B.TXT", "c:\\out\\lower.txt"},
      {"C:\\OUT\\C.TXT", "C:\\OUT\\..\\ESCAPED.TXT"},
      {"C:\\OUT\\D.TXT", "C:\\ELSEWHERE.TXT"},
      {"C:\\OUT\\E.TXT", "C:\\OUT\\PRN.TXT"},
      {"C:\\OUT\\F.TXT", std::string("C:\\OUT\\C-STRING.TXT") + '\0' + "junk"}};
  library_.ArchiveSetCallback(kProgressCallbackCode, [&](MemberRecord& record, int event, int v) {
    log_.events.push_back({event, v, std::string(record.name_view())});
    const auto rename = renames.find(std::string(record.name_view()));
    if (event == event::kAboutToExtract && rename != renames.end()) {
      record.set_name(rename->second);
    }
    return 0;
  });
  EXPECT_EQ(Extract({{.name = "A.TXT", .data = "a"},
                     {.name = "B.TXT", .data = "b"},
                     {.name = "C.TXT", .data = "c"},
                     {.name = "D.TXT", .data = "d"},
                     {.name = "E.TXT", .data = "e"},
                     {.name = "F.TXT", .data = "f"}}),
            Status::kOk);
  EXPECT_EQ(machine_.ReadHost("OUT/SUB/RENAMED.TXT"), "a");
  EXPECT_EQ(machine_.ReadHost("OUT/lower.txt"), "b");
  EXPECT_EQ(machine_.ReadHost("OUT/C-STRING.TXT"), "f");
  EXPECT_EQ(log_.Of(event::kExtractWritten).at(0).name, "C:\\OUT\\SUB\\RENAMED.TXT");
  std::vector<std::string> refused;
  for (const Event& e : log_.Of(-15))
    refused.push_back(e.name);
  EXPECT_EQ(refused, (std::vector<std::string>{"C:\\OUT\\..\\ESCAPED.TXT", "C:\\ELSEWHERE.TXT",
                                               "C:\\OUT\\PRN.TXT"}));
  std::vector<std::string> written;
  for (const std::string& file : FilesOnC()) {
    if (file.starts_with("OUT/")) written.push_back(file);
  }
  EXPECT_EQ(written,
            (std::vector<std::string>{"OUT/C-STRING.TXT", "OUT/SUB/RENAMED.TXT", "OUT/lower.txt"}));
  EXPECT_FALSE(fs::exists(machine_.Host("ESCAPED.TXT")));
  EXPECT_FALSE(fs::exists(machine_.Host("ELSEWHERE.TXT")));
}

TEST_F(ExtractionTest, TargetPathLongerThan268CharactersIsPassedOverNotCut) {
  const std::string name = "DEEP/" + std::string(249, 'L');
  EXPECT_EQ(Extract({{.name = name, .data = "e"}, {.name = "GOOD.TXT", .data = "g"}},
                    kModeKeepPaths, "*.*", "C:\\DEST567890123456"),
            Status::kOk);
  const std::vector<Event> refused = log_.Of(-15);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].name.size(), MemberRecord::kNameCapacity - 1);
  EXPECT_EQ(machine_.ReadHost("DEST567890123456/GOOD.TXT"), "g");
  EXPECT_FALSE(fs::exists(machine_.Host("DEST567890123456/DEEP")));
}

TEST_F(ExtractionTest, OverwriteCallbackDecidesForWritableTargets) {
  machine_.WriteHost("OUT/O.TXT", "old");
  int asked = 0;
  library_.ArchiveSetCallback(kOverwriteCallbackCode, [&](MemberRecord& record, int event, int) {
    ++asked;
    EXPECT_EQ(record.name_view(), "C:\\OUT\\O.TXT");
    EXPECT_EQ(event, 0);
    return 0x10000;  // only the low 16 bits count: keep
  });
  EXPECT_EQ(Extract({{.name = "O.TXT", .data = "new"}}), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("OUT/O.TXT"), "old");
  library_.ArchiveSetCallback(kOverwriteCallbackCode, [&](MemberRecord&, int, int) { return 1; });
  EXPECT_EQ(Extract({{.name = "O.TXT", .data = "new"}}), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("OUT/O.TXT"), "new");
  EXPECT_EQ(asked, 1);
}

TEST_F(ExtractionTest, SkippedEncryptedAndUnsupportedMembersLeaveNothingBehind) {
  const std::vector<TestMember> members = {
      {.name = "SKIP.TXT", .data = "s"},
      {.name = "SECRET.TXT", .data = "s", .flags = kFlagEncrypted},
      {.name = "ODD.TXT", .data = "o", .method = 3},
      {.name = "LAST.TXT", .data = "l"}};
  library_.ArchiveSetCallback(kProgressCallbackCode, [&](MemberRecord& record, int event, int v) {
    log_.events.push_back({event, v, std::string(record.name_view())});
    return event == event::kAboutToExtract && record.name_view() == "C:\\OUT\\SKIP.TXT" ? 1 : 0;
  });
  EXPECT_EQ(Extract(members), Status::kOk);
  EXPECT_EQ(log_.Numbers({event::kSearchBlock}),
            (Numbers{51, 46, 44, 44, 42, -29, 44, 8, 44, 5, 7, 47, 52}));
  EXPECT_EQ(machine_.ReadHost("OUT/LAST.TXT"), "l");
  EXPECT_EQ(std::distance(fs::directory_iterator(machine_.Host("OUT")), {}), 1);

  // A callback may make an encrypted member extractable.
  library_.ArchiveSetCallback(kProgressCallbackCode, [](MemberRecord& record, int event, int) {
    if (event == event::kEncrypted) record.flags &= ~kFlagEncrypted;
    return 0;
  });
  EXPECT_EQ(Extract(members), Status::kOk);
  EXPECT_EQ(machine_.ReadHost("OUT/SECRET.TXT"), "s");
}

TEST_F(ExtractionTest, FullDiskFailsTheMemberInsteadOfCuttingIt) {
  machine_.WriteHost("OUT/BIG.BIN", "old");
  platform::FaultInjector faults(machine_.machine().platform());
  ArchiveLibrary library(faults);
  library.ArchiveSetCallback(kProgressCallbackCode, log_.Callback());
  faults.FailCall(platform::Call::kWrite, 2, platform::WinError::kDiskFull);
  machine_.WriteHost("T.ARQ", ArchiveBytes({{.name = "BIG.BIN", .data = std::string(9000, 'b')}}));
  ASSERT_EQ(library.ArchiveOpen("C:\\T.ARQ", kModeReadOnly), Status::kOk);
  library.ArchiveSelectExtract("*.*", "C:\\OUT");
  EXPECT_EQ(library.ArchiveProcess(), Status::kError);
  library.ArchiveClose();
  EXPECT_EQ(log_.Of(-13).size(), 1u);
  EXPECT_EQ(machine_.ReadHost("OUT/BIG.BIN"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(machine_.Host("OUT")), {}), 1);
}

class SmallDisk : public platform::PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  platform::Result<platform::DiskSpace> GetDiskSpace(char) override {
    return platform::DiskSpace{.sectors_per_cluster = 1,
                               .bytes_per_sector = 512,
                               .free_clusters = 10,
                               .total_clusters = 100};
  }
};

TEST_F(ExtractionTest, TooLittleFreeSpaceFailsBeforeWriting) {
  SmallDisk small(machine_.machine().platform());
  ArchiveLibrary library(small);
  library.ArchiveSetCallback(kProgressCallbackCode, log_.Callback());
  machine_.WriteHost("T.ARQ", ArchiveBytes({{.name = "BIG.BIN", .data = std::string(5121, 'b')},
                                            {.name = "NEXT", .data = ""}}));
  ASSERT_EQ(library.ArchiveOpen("C:\\T.ARQ", kModeReadOnly), Status::kOk);
  library.ArchiveSelectExtract("*.*", "C:\\OUT");
  EXPECT_EQ(library.ArchiveProcess(), Status::kError);
  library.ArchiveClose();
  EXPECT_EQ(log_.Of(-33), (std::vector<Event>{{-33, 2, "C:\\OUT\\BIG.BIN"}}));
  EXPECT_TRUE(fs::is_empty(machine_.Host("OUT")));
}

}  // namespace
}  // namespace qv::archive
