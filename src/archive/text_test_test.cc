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

TEST_F(TextTestTest, EveryByteValueCountsAsItsKind) {
  for (int value = 1; value < 256; ++value) {
    if (value == '\n') continue;
    // 102 of the byte in 1,000: one more than the control bytes allowed.
    std::string bytes = Thousand(3, 0, 0);
    bytes.replace(500, 102, 102, static_cast<char>(value));
    const bool control = (value < 0x20 || value > 0x7F) && value != '\t';
    EXPECT_EQ(FlagsOf(bytes), control ? kFlagBinary : kFlagText) << "byte " << value;
  }
}

TEST_F(TextTestTest, CountsReachAcrossReadsToTheLastByte) {
  // 200,003 bytes: 401 line feeds needed, 4,001 zero bytes and 20,001
  // control bytes allowed; the zeros and controls end the file.
  const auto file = [](int zeros, int controls) {
    std::string bytes(200'003 - zeros - controls, 'a');
    for (std::size_t at = 0; at < 401; ++at)
      bytes[at * 400] = '\n';
    return bytes + std::string(controls, '\r') + std::string(zeros, '\0');
  };
  EXPECT_EQ(FlagsOf(file(4'001, 20'001)), kFlagText);
  EXPECT_EQ(FlagsOf(file(4'002, 0)), kFlagBinary);
  EXPECT_EQ(FlagsOf(file(0, 20'002)), kFlagBinary);
}

TEST_F(TextTestTest, EmptyFileIsNotTestedAndOneWithoutLineFeedIsBinary) {
  EXPECT_EQ(FlagsOf(""), 0u);
  EXPECT_EQ(FlagsOf("abc"), kFlagBinary);
  EXPECT_EQ(FlagsOf("abc\n"), kFlagText);
}

}  // namespace
}  // namespace qv::archive
