#include "codec/packed_bit_writer.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qv::codec {
namespace {

// Keeps the pieces the writer hands out, as a disk that fills would see them.
class PiecesOutput final : public PackOutput {
 public:
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    pieces.emplace_back(bytes.begin(), bytes.end());
    return bytes.size();
  }
  std::int64_t Tell() override { return 0; }
  bool Seek(std::int64_t) override { return true; }
  bool OnRemovableDrive() override { return false; }
  int DriveNumber() override { return 2; }

  std::vector<std::vector<std::uint8_t>> pieces;
};

struct Field {
  std::uint32_t value;
  int bits;
};

// Codes as a block's are: a literal-or-length field of up to 16 bits (0 for
// a block of one symbol), then for some a distance field of up to 27.
std::vector<std::vector<Field>> RandomCodes(int count) {
  std::mt19937 random(42);
  std::vector<std::vector<Field>> codes;
  for (int i = 0; i < count; ++i) {
    std::vector<Field>& code = codes.emplace_back();
    for (const int most : {16, 27}) {
      const int bits = static_cast<int>(random() % (most + 1));
      code.push_back(
          {static_cast<std::uint32_t>(random() & ((std::uint64_t{1} << bits) - 1)), bits});
      if (random() % 2 == 0) break;
    }
  }
  return codes;
}

struct Written {
  std::vector<std::vector<std::uint8_t>> pieces;
  bool incompressible;
  std::uint32_t count;
  std::uint32_t crc;
  bool operator==(const Written&) const = default;
};

template <class WriteCodes>
Written WriteWith(std::uint32_t bytes_read, WriteCodes write_codes) {
  PiecesOutput output;
  PackedBitWriter writer;
  writer.Start(output, bytes_read);
  writer.Put(5, 3);  // a run starts with bits pending
  write_codes(writer);
  // As a block and the member end.
  writer.DrainWholeBytes();
  writer.Finish();
  return {output.pieces, writer.incompressible(), writer.packed_bytes_written(),
          writer.crc_register()};
}

TEST(PackedBitWriter, RunsPassOnWhatFieldsPutOneByOneWouldForEveryInputRead) {
  // Over 4 KB of packed bytes: the buffer fills once and is passed on.
  const std::vector<std::vector<Field>> codes = RandomCodes(2300);
  const auto put = [&](PackedBitWriter& writer) {
    for (const std::vector<Field>& code : codes) {
      for (const Field& field : code)
        writer.Put(field.value, field.bits);
      if (writer.incompressible()) return;
    }
  };
  const auto run = [&](PackedBitWriter& writer) {
    PackedBitWriter::Run run = writer.BeginRun();
    for (const std::vector<Field>& code : codes) {
      for (const Field& field : code)
        run.Append(field.value, static_cast<unsigned>(field.bits));
      if (run.HasRoom()) {
        run.PassWholeBytes();
        continue;
      }
      run = writer.Resume(run);
      if (writer.incompressible()) return;
    }
    writer.EndRun(run);
  };
  const std::uint32_t total = WriteWith(~std::uint32_t{0}, put).count;
  ASSERT_GT(total, 4096u + 100u);
  for (std::uint32_t bytes_read = 0; bytes_read <= total + 9; ++bytes_read) {
    const Written expected = WriteWith(bytes_read, put);
    ASSERT_EQ(WriteWith(bytes_read, run), expected) << "input read " << bytes_read;
    ASSERT_EQ(expected.incompressible, bytes_read < total);
  }
}

}  // namespace
}  // namespace qv::codec
