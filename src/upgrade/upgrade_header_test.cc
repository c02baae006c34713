#include "upgrade/upgrade_header.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "sim/test_machine.h"
#include "upgrade/upgrade_log.h"

namespace qv::upgrade {
namespace {

TEST(UpgradeHeader, MakeLaysOutTheFieldsAndRefusesTextsWithoutRoomForTheirZero) {
  const std::optional<UpgradeHeader> header = UpgradeHeader::Make(
      0x01020304, {1, 2, 3, 4, 5, 6, 7, 8}, "1234567890123", "abcdefghijklmnopqrstuvwxy");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->bytes()[0], 0x04);
  EXPECT_EQ(header->bytes()[3], 0x01);
  EXPECT_EQ(header->bytes()[4], 1);
  EXPECT_EQ(header->bytes()[11], 8);
  EXPECT_EQ(header->bytes()[25], 0);  // the part number's zero byte
  EXPECT_EQ(header->bytes()[51], 0);
  EXPECT_EQ(header->part_number(), "1234567890123");
  EXPECT_EQ(header->archive_name(), "abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(header->pending_word(), 0x01020304u);

  EXPECT_FALSE(UpgradeHeader::Make(1, {}, "12345678901234", "a.arq"));
  EXPECT_FALSE(UpgradeHeader::Make(1, {}, "pn", std::string(26, 'a')));
  EXPECT_FALSE(UpgradeHeader::Make(1, {}, std::string("p\0n", 3), "a.arq"));
  EXPECT_FALSE(UpgradeHeader::Make(1, {}, "pn", "..\\a.arq"));
}

TEST(UpgradeHeader, AnArchiveNameIsAPlainFileNameOrNothingIsPending) {
  for (const char* name : {"qv731upg.arq", "a", "A B.ARQ", ".arq"}) {
    EXPECT_TRUE(PlainFileName(name)) << name;
  }
  for (const char* name : {"", "..", "..\\..\\x.arq", "c:x.arq", "C:\\x.arq", "\\x.arq",
                           "sub\\x.arq", "sub/x.arq", "x..arq"}) {
    EXPECT_FALSE(PlainFileName(name)) << name;
  }

  sim::TestMachine machine;
  ASSERT_TRUE(machine.files().ChangeFolder("c:\\scope"));
  const auto read = [&machine](std::string_view name_field) {
    UpgradeHeader::Bytes bytes{};
    bytes[0] = 1;
    std::copy(name_field.begin(), name_field.end(), bytes.begin() + kArchiveNameOffset);
    machine.WriteHost("scope/qv731upg.hdr", std::string(bytes.begin(), bytes.end()));
    return ReadUpgradeHeader(machine.files());
  };
  EXPECT_TRUE(read("qv731upg.arq").pending());
  EXPECT_TRUE(read(std::string(25, 'x')).pending());
  for (const std::string& field :
       {std::string(), std::string("..\\..\\x.arq"), std::string("c:\\x.arq"),
        std::string("x/y.arq"), std::string(26, 'x')}) {
    const UpgradeHeader header = read(field);
    EXPECT_FALSE(header.pending()) << field;
    EXPECT_EQ(header.archive_name(), field) << "kept for the log";
  }
}

TEST(UpgradeHeader, ReadingNeedsAll52BytesAndTextsStayInsideTheirFields) {
  sim::TestMachine machine;
  platform::Files& files = machine.files();
  ASSERT_TRUE(files.ChangeFolder("c:\\scope"));
  EXPECT_FALSE(ReadUpgradeHeader(files).pending());  // no file

  UpgradeHeader::Bytes bytes;
  bytes.fill('x');
  bytes[0] = 1;
  bytes[kHeaderSize - 1] = 0;  // the name ends inside its field
  machine.WriteHost("scope/qv731upg.hdr", std::string(bytes.begin(), bytes.end()));
  const UpgradeHeader full = ReadUpgradeHeader(files);
  EXPECT_TRUE(full.pending());
  EXPECT_EQ(full.part_number(), std::string(14, 'x'));
  EXPECT_EQ(full.archive_name(), std::string(25, 'x'));

  machine.WriteHost("scope/qv731upg.hdr", std::string(bytes.begin(), bytes.end() - 1));
  const UpgradeHeader short_one = ReadUpgradeHeader(files);
  EXPECT_FALSE(short_one.pending());
  EXPECT_EQ(short_one.part_number(), std::string(14, 'x'));
}

TEST(TimeText, IsTheRunTimesAsctimeText) {
  EXPECT_EQ(TimeText({2001, 5, 17, 10, 0, 0, 4}), "Thu May 17 10:00:00 2001\n");
  EXPECT_EQ(TimeText({1999, 12, 5, 9, 7, 3, 0}), "Sun Dec  5 09:07:03 1999\n");
}

}  // namespace
}  // namespace qv::upgrade
