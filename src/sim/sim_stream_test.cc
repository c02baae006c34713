#include "sim/sim_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "sim/host_io.h"
#include "sim/test_machine.h"

namespace qv::sim {
namespace {

using platform::SeekOrigin;
using platform::Stream;

class SimStreamTest : public ::testing::Test {
 protected:
  Stream Open(std::string_view mode) { return files_.Open(kFile, mode).value(); }
  std::string OnDisk() { return machine_.ReadHost("scope/temp/f.txt"); }
  std::string ReadAll(Stream& stream) {
    std::string text;
    for (int c = stream.GetChar(); c != Stream::kEof; c = stream.GetChar())
      text.push_back(c);
    return text;
  }

  static constexpr std::string_view kFile = "C:\\scope\\temp\\f.txt";
  TestMachine machine_;
  platform::Files& files_ = machine_.files();
};

TEST_F(SimStreamTest, TextModeWritesLineFeedsAsCrLf) {
  Open("w").Write("device=c:\\windows\\himem.sys\nx\r\n");
  EXPECT_EQ(OnDisk(), "device=c:\\windows\\himem.sys\r\nx\r\r\n");
  Open("ab").Write("bin\n");
  EXPECT_EQ(OnDisk(), "device=c:\\windows\\himem.sys\r\nx\r\r\nbin\n");
}

TEST_F(SimStreamTest, TextModeReadsCrLfAsLineFeedAndStopsAtCtrlZ) {
  machine_.WriteHost("scope/temp/f.txt", std::string("a\r\nb\rc\r\r\nd\x1a"
                                                     "after",
                                                     15));
  Stream text = Open("r");
  EXPECT_EQ(ReadAll(text), "a\nb\rc\r\nd");
  EXPECT_TRUE(text.AtEnd());
  Stream binary = Open("rb");
  EXPECT_EQ(ReadAll(binary), std::string("a\r\nb\rc\r\r\nd\x1a"
                                         "after",
                                         15));
}

TEST_F(SimStreamTest, GetLineReadsAtMostTheCharactersAsked) {
  machine_.WriteHost("scope/temp/f.txt", std::string(200, 'x') + "\r\nlast");
  Stream stream = Open("rt");
  EXPECT_EQ(stream.GetLine(127), std::string(127, 'x'));
  EXPECT_EQ(stream.GetLine(127), std::string(73, 'x') + "\n");
  EXPECT_EQ(stream.GetLine(127), "last");  // a last line without a line feed
  EXPECT_EQ(stream.GetLine(127), std::nullopt);
}

TEST_F(SimStreamTest, AppendWritesAtTheEndWhereverTheStreamStands) {
  machine_.WriteHost("scope/temp/f.txt", "one\r\n");
  Stream stream = Open("a+");
  EXPECT_EQ(stream.GetLine(127), "one\n");
  stream.Seek(0, SeekOrigin::kBegin);
  stream.Write("two\n");
  EXPECT_EQ(OnDisk(), "one\r\ntwo\r\n");
}

TEST_F(SimStreamTest, TextAppendForUpdateDropsAnEndingCtrlZ) {
  machine_.WriteHost("scope/temp/f.txt", "old\r\n\x1a");
  Open("a+").Write("new\n");
  EXPECT_EQ(OnDisk(), "old\r\nnew\r\n");
}

TEST_F(SimStreamTest, PositionsAreFileOffsets) {
  Stream stream = Open("w+b");
  stream.Write("0123456789");
  EXPECT_EQ(stream.Tell(), 10);
  EXPECT_FALSE(stream.Seek(-1, SeekOrigin::kBegin));
  ASSERT_TRUE(stream.Seek(-4, SeekOrigin::kEnd));
  EXPECT_EQ(stream.GetChar(), '6');
  ASSERT_TRUE(stream.Seek(12, SeekOrigin::kBegin));  // past the end: a gap of zeros
  stream.PutChar('!');
  EXPECT_EQ(OnDisk(), std::string("0123456789\0\0!", 13));
  Stream text = Open("r+");
  text.Seek(0, SeekOrigin::kEnd);
  text.Write("\n");
  EXPECT_EQ(text.Tell(), 15);  // the CR LF counts as two bytes
}

// Binary reads take what the read-ahead holds, then large requests straight
// from the file: every byte once, in order, and the end seen.
TEST_F(SimStreamTest, BinaryReadsOfAnySizeMeetInOrder) {
  std::string contents(20'000, '\0');
  for (std::size_t i = 0; i < contents.size(); ++i)
    contents[i] = static_cast<char>(i * 7 + i / 251);
  machine_.WriteHost("scope/temp/f.txt", contents);
  Stream stream = Open("rb");
  std::string read;
  for (const std::size_t size : {3, 5000, 1, 4096, 9000, 4096}) {
    std::vector<std::uint8_t> buffer(size);
    const std::size_t got = stream.Read(buffer);
    read.append(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
  }
  EXPECT_EQ(read, contents);
  EXPECT_TRUE(stream.AtEnd());
}

TEST_F(SimStreamTest, WriteTruncatesAndAStreamOnlyDoesWhatItsModeAllows) {
  machine_.WriteHost("scope/temp/f.txt", "long old contents");
  Stream writer = Open("w");
  EXPECT_EQ(OnDisk(), "");
  EXPECT_EQ(writer.GetChar(), Stream::kEof);
  EXPECT_TRUE(writer.HasError());
  Stream reader = Open("r");
  EXPECT_EQ(reader.Write("x"), 0u);
  EXPECT_TRUE(reader.HasError());
  EXPECT_EQ(*files_.GetAttributes(kFile), platform::attribute::kArchive);
}

// A tool's host folder, whose streams write in batches.
class BatchedSimStreamTest : public ::testing::Test {
 protected:
  ~BatchedSimStreamTest() override { std::filesystem::remove_all(folder_); }

  SimStream OpenStream(int fd, std::string_view mode) {
    return SimStream(fd, *platform::StreamMode::Parse(mode), drive_, open_files_.Hold({0, 0}),
                     std::make_shared<ThreadState>());
  }
  SimStream Open(std::string_view mode) {
    return OpenStream(::open(file_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644), mode);
  }
  std::string OnDisk() const { return ReadWholeFile(file_).value_or("(none)"); }
  static std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
  }

  const std::filesystem::path folder_ = MakeTemporaryFolder("batched");
  const std::filesystem::path file_ = folder_ / "f.bin";
  std::shared_ptr<Drive> drive_ = std::make_shared<Drive>(
      DriveConfig{.letter = 'C', .host_space = true, .batch_writes = true}, folder_);
  OpenFiles open_files_;
};

TEST_F(BatchedSimStreamTest, WritesReachTheFileBeforeAnythingCouldMissThem) {
  SimStream stream = Open("w+b");
  EXPECT_EQ(stream.Write(Bytes("abc")), 3u);
  EXPECT_EQ(OnDisk(), "");
  ASSERT_TRUE(stream.Seek(0, SeekOrigin::kEnd));  // the size
  EXPECT_EQ(OnDisk(), "abc");
  const std::string large(70'000, 'L');
  stream.Write(Bytes(large));  // a full batch
  EXPECT_EQ(OnDisk(), "abc" + large);
  // A write elsewhere, then a read: both see every byte in place.
  stream.Write(Bytes("de"));
  ASSERT_TRUE(stream.Seek(1, SeekOrigin::kBegin));
  stream.Write(Bytes("X"));
  std::array<std::uint8_t, 2> read{};
  EXPECT_EQ(stream.Read(read), 2u);
  EXPECT_EQ(std::string(read.begin(), read.end()), "cL");
  EXPECT_EQ(OnDisk(), "aXc" + large + "de");
  stream.Write(Bytes("!"));
  EXPECT_TRUE(stream.Flush());
  EXPECT_EQ(OnDisk(), "aXcL!" + large.substr(2) + "de");
}

TEST_F(BatchedSimStreamTest, AWriteTheHostRefusesFailsTheFlushOrTheClose) {
  for (const bool flush : {true, false}) {
    // A pipe takes no write at an offset.
    std::array<int, 2> pipe_ends{};
    ASSERT_EQ(::pipe(pipe_ends.data()), 0);
    SimStream stream = OpenStream(pipe_ends[1], "wb");
    EXPECT_EQ(stream.Write(Bytes("abc")), 3u);  // held back
    EXPECT_FALSE(flush ? stream.Flush() : stream.Close());
    EXPECT_TRUE(stream.HasError());
    stream.Close();
    ::close(pipe_ends[0]);
  }
}

}  // namespace
}  // namespace qv::sim
