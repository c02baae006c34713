#include "archive/text_test.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::archive {
namespace {

class TextTestTest : public ::testing::Test {
 protected:
  std::uint32_t FlagsOf(const std::string& bytes) {
    machine_.WriteHost("t.dat", bytes);
    const int slot = slots_.Open("C:\\T.DAT", open_mode::kReadOnly);
    const std::uint32_t flags = TextTestFlags(slots_, slot);
    EXPECT_EQ(slots_.Tell(slot), 0);
    slots_.Close(slot);
    return flags;
  }
  // 1,000 bytes: `line_feeds` line feeds, `zeros` zero bytes, `controls`
  // other control bytes, letters otherwise.
  static std::string Thousand(int line_feeds, int zeros, int controls) {
    std::string bytes(1000, 'a');
    int at = 0;
    for (int i = 0; i < line_feeds; ++i)
      bytes[at++] = '\n';
    for (int i = 0; i < zeros; ++i)
      bytes[at++] = '\0';
    for (int i = 0; i < controls; ++i)
      bytes[at++] = i % 2 ? '\r' : '\x80';
    return bytes;
  }

  sim::TestMachine machine_;
  FileSlots slots_{machine_.files()};
};

TEST_F(TextTestTest, LimitsOfAThousandByteFile) {
  EXPECT_EQ(FlagsOf(Thousand(3, 21, 101)), kFlagText);
  EXPECT_EQ(FlagsOf(Thousand(2, 0, 0)), kFlagBinary);
  EXPECT_EQ(FlagsOf(Thousand(3, 22, 0)), kFlagBinary);
  EXPECT_EQ(FlagsOf(Thousand(3, 0, 102)), kFlagBinary);
  EXPECT_EQ(FlagsOf(std::string(500, '\t') + std::string(500, '\n')), kFlagText);
}

TEST_F(TextTestTest, EmptyFileIsNotTestedAndOneWithoutLineFeedIsBinary) {
  EXPECT_EQ(FlagsOf(""), 0u);
  EXPECT_EQ(FlagsOf("abc"), kFlagBinary);
  EXPECT_EQ(FlagsOf("abc\n"), kFlagText);
}

}  // namespace
}  // namespace qv::archive
