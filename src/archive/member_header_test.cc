#include "archive/member_header.h"

#include <gtest/gtest.h>

#include "archive/archive_test_support.h"

namespace qv::archive {
namespace {

const std::string kExampleHeader(
    "\x67\x57\x04\x01\x31\x12\x05\x00"
    "A.TXT"
    "\x80\x14\x03\x3B\xB6\x81\x00\x00\x00\x00\x03\x00\x00\x00\x03\x00\x00\x00"
    "\xC2\x41\x24\x35\x01\x10\x02\x00\x00\x00\x00\x00\x00\x00\x00",
    46);

class MemberHeaderTest : public ::testing::Test {
 protected:
  // Reads one header from a file holding `bytes`, from `offset`.
  Status Read(const std::string& bytes, MemberRecord& record, std::int64_t offset = 0) {
    machine_.WriteHost("h.bin", bytes);
    const int slot = slots_.Open("C:\\H.BIN", open_mode::kReadOnly);
    EXPECT_GE(slot, 0);
    slots_.Seek(slot, offset, platform::SeekOrigin::kBegin);
    const Status status = ReadMemberHeader(slots_, slot, record);
    position_ = slots_.Tell(slot);
    slots_.Close(slot);
    return status;
  }
  // The example header with another needed version or name length.
  static std::string WithByte(std::size_t at, char value) {
    std::string bytes = kExampleHeader;
    bytes[at] = value;
    return bytes;
  }

  sim::TestMachine machine_;
  FileSlots slots_{machine_.files()};
  std::int64_t position_ = 0;
};

TEST_F(MemberHeaderTest, WritesTheExampleMemberByteForByte) {
  MemberRecord record;
  record.set_name("A.TXT");
  record.needed_version = kNeededOrdinary;
  record.modification_time = kExampleTime;
  record.mode = kWritableMode;
  record.packed_size = record.unpacked_size = 3;
  record.crc = 0x352441C2;
  record.method = kMethodStored;
  record.host_code = kOwnHostCode;
  record.flags = kFlagBinary;
  record.extra_length = 7;
  const std::vector<std::uint8_t> bytes = EncodeMemberHeader(record);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), kExampleHeader);
  EXPECT_EQ(HeaderLength(record), 46u);
  EXPECT_EQ(record.made_by_version, 0x31u);
  EXPECT_EQ(record.extra_length, 0u);
  EXPECT_EQ(EndMarkerBytes().size(), 41u);
}

TEST_F(MemberHeaderTest, ReadsTheExampleAndTheEndMarker) {
  MemberRecord record;
  ASSERT_EQ(Read(kExampleHeader + "abc" + EndMarkerBytes(), record), Status::kOk);
  EXPECT_EQ(record.name_view(), "A.TXT");
  EXPECT_EQ(record.modification_time, kExampleTime);
  EXPECT_EQ(record.mode, kWritableMode);
  EXPECT_EQ(record.packed_size, 3u);
  EXPECT_EQ(record.crc, 0x352441C2u);
  EXPECT_EQ(record.flags, kFlagBinary);
  EXPECT_EQ(position_, 46);
  EXPECT_EQ(Read(kExampleHeader + "abc" + EndMarkerBytes(), record, 49), Status::kEndOfArchive);
  EXPECT_EQ(position_, 49 + 41);
}

TEST_F(MemberHeaderTest, NeededVersionAboveThreePointOneIsIncompatible) {
  MemberRecord record;
  for (const char accepted : {'\x12', '\x30', '\x31'}) {
    EXPECT_EQ(Read(WithByte(5, accepted), record), Status::kOk) << int(accepted);
  }
  for (const char refused : {'\x32', '\x40'}) {
    EXPECT_EQ(Read(WithByte(5, refused), record), Status::kIncompatibleVersion) << int(refused);
  }
}

TEST_F(MemberHeaderTest, NameOf254BytesIsReadAnd255IsCorrupt) {
  MemberRecord record;
  const std::string long_name(254, 'N');
  ASSERT_EQ(Read(MemberBytes({.name = long_name, .data = "x"}), record), Status::kOk);
  EXPECT_EQ(record.name_view(), long_name);
  std::string too_long = MemberBytes({.name = long_name + "N", .data = "x"});
  EXPECT_EQ(Read(too_long, record), Status::kCorruptHeader);
  EXPECT_EQ(record.name_length, 0u);
}

TEST_F(MemberHeaderTest, MissingSignatureIsNotAnArchiveOnlyAtTheStartOfAnEmptyFile) {
  MemberRecord record;
  EXPECT_EQ(Read("", record), Status::kNotAnArchive);
  EXPECT_EQ(Read("12345678", record), Status::kCorruptHeader);
  EXPECT_EQ(Read(kExampleHeader.substr(0, 5), record), Status::kCorruptHeader);
  // A header cut right after its name has no attribute block at all.
  EXPECT_EQ(Read(kExampleHeader.substr(0, 13), record), Status::kCorruptHeader);
}

TEST_F(MemberHeaderTest, NamesTurnSlashesAndKeepCaseOnlyForHostCodeThree) {
  MemberRecord record;
  ASSERT_EQ(Read(MemberBytes({.name = "Dir/Sub/File.txt", .data = ""}), record), Status::kOk);
  EXPECT_EQ(record.name_view(), "DIR\\SUB\\FILE.TXT");
  ASSERT_EQ(Read(MemberBytes({.name = "Dir/File.txt", .data = "", .host_code = 3}), record),
            Status::kOk);
  EXPECT_EQ(record.name_view(), "Dir\\File.txt");

  // Written back, the name has '/' again.
  record.set_name("DIR\\SUB\\X");
  const std::vector<std::uint8_t> bytes = EncodeMemberHeader(record);
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 17), "DIR/SUB/X");
}

TEST_F(MemberHeaderTest, ExtraDataIsPassedOver) {
  std::string bytes = kExampleHeader;
  bytes[44] = 3;  // extra length 3
  bytes += "xyz";
  MemberRecord record;
  ASSERT_EQ(Read(bytes + "abc", record), Status::kOk);
  EXPECT_EQ(record.extra_length, 3u);
  EXPECT_EQ(position_, 49);
}

}  // namespace
}  // namespace qv::archive
