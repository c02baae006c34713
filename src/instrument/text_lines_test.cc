#include "instrument/text_lines.h"

#include <gtest/gtest.h>

#include "sim/test_machine.h"

namespace qv::instrument {
namespace {

struct Read {
  std::string text;
  bool line;

  bool operator==(const Read&) const = default;
};

// Every read of the file's bytes through LineReader, with whether it is a line.
std::vector<Read> Reads(const std::string& bytes) {
  sim::TestMachine machine;
  machine.WriteHost("list.txt", bytes);
  platform::Result<platform::Stream> stream = machine.files().Open("c:\\list.txt", "r");
  EXPECT_TRUE(stream);
  std::vector<Read> reads;
  LineReader reader(*stream);
  while (const std::optional<LineRead> read = reader.Next()) {
    reads.push_back({read->text, read->IsLine()});
  }
  return reads;
}

TEST(LineReader, TheLastLineCountsWithOrWithoutItsLineFeed) {
  EXPECT_EQ(Reads("a b\r\nc d\r\n"), (std::vector<Read>{{"a b", true}, {"c d", true}}));
  EXPECT_EQ(Reads("a b\r\nc d"), (std::vector<Read>{{"a b", true}, {"c d", true}}));
  EXPECT_EQ(Reads("c d\x1A"
                  "after the end"),
            (std::vector<Read>{{"c d", true}}));
  EXPECT_TRUE(Reads("").empty());
  // A last line that fills a read exactly: the end shows only at the next.
  const std::string full(kLineReadLength, 'x');
  EXPECT_EQ(Reads(full), (std::vector<Read>{{full, true}}));
}

TEST(LineReader, TheFirstPieceOfALongLineIsNoLine) {
  const std::string head(kLineReadLength, 'x');
  EXPECT_EQ(Reads(head + "tail\r\nnext"),
            (std::vector<Read>{{head, false}, {"tail", true}, {"next", true}}));
  EXPECT_EQ(Reads(head + "\r\n"), (std::vector<Read>{{head, false}, {"", true}}));
}

}  // namespace
}  // namespace qv::instrument
