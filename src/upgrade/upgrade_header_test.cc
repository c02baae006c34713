#include "upgrade/upgrade_header.h"

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
}

TEST(UpgradeHeader, ReadingNeedsAll52BytesAndTextsStayInsideTheirFields) {
  sim::TestMachine machine;
  platform::Files& files = machine.files();
  ASSERT_TRUE(files.ChangeFolder("c:\\scope"));
  EXPECT_FALSE(ReadUpgradeHeader(files).pending());  // no file

  UpgradeHeader::Bytes bytes;
  bytes.fill('x');
  bytes[0] = 1;
  machine.WriteHost("scope/qv731upg.hdr", std::string(bytes.begin(), bytes.end()));
  const UpgradeHeader full = ReadUpgradeHeader(files);
  EXPECT_TRUE(full.pending());
  EXPECT_EQ(full.part_number(), std::string(14, 'x'));
  EXPECT_EQ(full.archive_name(), std::string(26, 'x'));

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
