// Archives spread over removable disks: written across three disks with
// their prompts, read back whole, and what happens when a disk is missing.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_library.h"
#include "archive/archive_test_support.h"
#include "archive/member_header.h"
#include "codec/crc32.h"
#include "platform/fault_injector.h"

namespace qv::archive {
namespace {

namespace fs = std::filesystem;

std::string Noise(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed = seed * 1'103'515'245 + 12'345;
    byte = static_cast<char>(seed >> 16);
  }
  return bytes;
}

class VolumesTest : public ::testing::Test {
 protected:
  static constexpr std::uint64_t kDisk = 400'000;

  void SetUp() override {
    machine_.machine().WriteHost("DATA/BIG.BIN", Noise(900'000, 1));
    machine_.machine().WriteHost("DATA/SMALL.TXT", "small\n");
    machine_.machine().WriteHost("DATA/LAST.BIN", Noise(70'000, 2));
  }

  // The callback that answers the disk prompts by inserting disks in turn.
  ProgressCallback DiskChanger(int last_disk) {
    return [this, last_disk](MemberRecord& record, int event, int value) {
      log_.events.push_back({event, value, std::string(record.name_view())});
      if (event == event::kInsertNextDisk) {
        if (++inserted_ > last_disk) record.status_word = kStatusWordCancel;
        machines_disk(inserted_ > last_disk ? 0 : inserted_);
      }
      if (event == event::kInsertVolume) machines_disk(value <= last_disk ? value : 0);
      return 0;
    };
  }
  void machines_disk(int number) { machine_.Insert(number); }

  // Writes C:\DATA\*.* onto the disks as A:\SET.ARQ.
  Status WriteSet(int disks) {
    ArchiveLibrary library(machine_.files());
    library.ArchiveSetCallback(kProgressCallbackCode, DiskChanger(disks));
    EXPECT_EQ(library.ArchiveOpen("A:\\SET.ARQ", kModeKeepPaths), Status::kOk);
    library.ArchiveSelectAdd("C:\\DATA\\*.*");
    const Status status = library.ArchiveProcess();
    library.ArchiveClose();
    return status;
  }

  // Reads the set back with disk `first` in the drive and disks up to
  // `last_disk` to answer the prompts, extracting `pattern` into C:\OUT.
  Status ReadSet(int first, int last_disk, const char* pattern = "*.*") {
    machine_.Insert(first);
    log_.events.clear();
    ArchiveLibrary reader(machine_.files());
    reader.ArchiveSetCallback(kProgressCallbackCode, DiskChanger(last_disk));
    EXPECT_EQ(reader.ArchiveCheck("A:\\SET.ARQ"), Status::kOk);
    EXPECT_EQ(reader.ArchiveOpen("A:\\SET.ARQ", kModeKeepPaths | kModeReadOnly), Status::kOk);
    reader.ArchiveSelectExtract(pattern, "C:\\OUT");
    const Status status = reader.ArchiveProcess();
    reader.ArchiveClose();
    return status;
  }

  DiskMachine machine_{kDisk};
  EventLog log_;
  int inserted_ = 1;
};

TEST_F(VolumesTest, ArchiveWrittenOverThreeDisksReadsBackWhole) {
  ASSERT_EQ(WriteSet(3), Status::kOk);
  EXPECT_EQ(log_.Of(event::kInsertNextDisk).size(), 2u);
  std::string whole;
  for (int disk = 1; disk <= 3; ++disk) {
    const std::string volume = ReadHostFile(machine_.Disk(disk) / "SET.ARQ");
    ASSERT_GT(volume.size(), 41u) << disk;
    EXPECT_LE(volume.size(), kDisk) << disk;
    // Every volume begins with a member header that carries its number.
    EXPECT_EQ(volume.substr(0, 4), "\x67\x57\x04\x01");
    EXPECT_EQ(static_cast<int>(volume[34 + 12]), disk - 1) << disk;  // DATA/BIG.BIN
    EXPECT_FALSE(fs::exists(machine_.Disk(disk) / "ZT00001.$$$"));
  }
  // The spanning member's first header: bit 3 and needed version 3.0.
  const std::string first = ReadHostFile(machine_.Disk(1) / "SET.ARQ");
  EXPECT_EQ(first[5], '\x30');
  EXPECT_EQ(first[32 + 12] & kFlagContinued, kFlagContinued);

  EXPECT_EQ(ReadSet(1, 3), Status::kOk);
  for (const char* name : {"BIG.BIN", "SMALL.TXT", "LAST.BIN"}) {
    EXPECT_EQ(machine_.machine().ReadHost(std::string("OUT/DATA/") + name),
              machine_.machine().ReadHost(std::string("DATA/") + name))
        << name;
  }
  std::vector<std::int32_t> asked;
  for (const Event& event : log_.Of(event::kInsertVolume))
    asked.push_back(event.value);
  EXPECT_EQ(asked, (std::vector<std::int32_t>{2, 3}));
}

TEST_F(VolumesTest, MissingNextDiskEndsTheWalkWithoutAHang) {
  ASSERT_EQ(WriteSet(3), Status::kOk);
  EXPECT_EQ(ReadSet(1, 2), Status::kError);
  // Volume 3 was asked for ten times, then the walk gave up.
  EXPECT_EQ(log_.Of(event::kInsertVolume).size(), 1u + 10u);
  EXPECT_EQ(log_.Of(event::kCanceled).size(), 1u);
  EXPECT_FALSE(fs::exists(machine_.machine().Host("OUT/DATA/BIG.BIN")));
  for (const auto& entry : fs::recursive_directory_iterator(machine_.machine().Host("OUT"))) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("ZT")) << entry.path();
  }
}

TEST_F(VolumesTest, TooFewDisksWhileWritingCancelsTheUpdate) {
  EXPECT_EQ(WriteSet(2), Status::kCanceled);
  EXPECT_EQ(log_.Of(event::kInsertNextDisk).size(), 2u);
  EXPECT_EQ(log_.Of(event::kCanceled).size(), 2u);
}

TEST_F(VolumesTest, FullDiskWhoseVolumeFailsToCloseEndsTheUpdate) {
  // A stream may hold the volume's last bytes back until it closes.
  platform::FaultInjector faults(machine_.machine().machine().platform());
  ArchiveLibrary library(faults);
  const ProgressCallback changer = DiskChanger(3);
  bool armed = false;
  library.ArchiveSetCallback(
      kProgressCallbackCode, [&](MemberRecord& record, int event, int value) {
        if (event == event::kAddProgress && !armed) {
          faults.FailCall(platform::Call::kClose, faults.CallCount(platform::Call::kClose) + 1,
                          platform::WinError::kDiskFull, /*from_then_on=*/true);
          armed = true;
        }
        return changer(record, event, value);
      });
  ASSERT_EQ(library.ArchiveOpen("A:\\SET.ARQ", kModeKeepPaths), Status::kOk);
  library.ArchiveSelectAdd("C:\\DATA\\*.*");
  EXPECT_NE(library.ArchiveProcess(), Status::kOk);
  library.ArchiveClose();
  EXPECT_TRUE(log_.Of(event::kInsertNextDisk).empty());
  EXPECT_FALSE(fs::exists(machine_.Disk(1) / "SET.ARQ"));
}

TEST_F(VolumesTest, WalkBegunOnALaterDiskAsksForTheFirst) {
  ASSERT_EQ(WriteSet(3), Status::kOk);
  EXPECT_EQ(ReadSet(2, 3, "*.TXT"), Status::kOk);
  EXPECT_EQ(machine_.machine().ReadHost("OUT/DATA/SMALL.TXT"), "small\n");
  EXPECT_EQ(log_.Of(event::kInsertVolume).at(0).value, 1);
}

TEST_F(VolumesTest, ContinuedMemberOnAFixedDiskFails) {
  const std::string part = Noise(100, 3);
  TestMember member{.name = "PART", .data = part, .flags = kFlagContinued, .needed_version = 0x30};
  std::string bytes = MemberBytes(member);
  bytes[8 + 4 + 10] = 101;  // the packed size claims one byte more than this volume holds
  machine_.machine().WriteHost("P.ARQ", bytes);
  ArchiveLibrary reader(machine_.files());
  reader.ArchiveSetCallback(kProgressCallbackCode, log_.Callback());
  ASSERT_EQ(reader.ArchiveOpen("C:\\P.ARQ", kModeReadOnly), Status::kOk);
  reader.ArchiveSelectExtract("*.*", "C:\\OUT");
  EXPECT_EQ(reader.ArchiveProcess(), Status::kError);
  reader.ArchiveClose();
  EXPECT_TRUE(log_.Of(event::kInsertVolume).empty());
  EXPECT_FALSE(fs::exists(machine_.machine().Host("OUT/PART")));
}

}  // namespace
}  // namespace qv::archive
