#include "codec/encoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/codec_test_support.h"

namespace qv::codec {
namespace {

using ::testing::ElementsAre;

TEST(Encoder, WorkedExample) {
  const Packed packed = PackAll(std::vector<std::uint8_t>(100, 'a'));
  ASSERT_EQ(packed.status, Status::kOk);
  EXPECT_THAT(packed.bytes,
              ElementsAre(0x00, 0x02, 0x20, 0x04, 0x36, 0x11, 0x36, 0x75, 0x40, 0x10));
  EXPECT_EQ(packed.record.method, kMethodCompressed);
  EXPECT_EQ(packed.record.packed_size, 10u);
  EXPECT_EQ(packed.record.unpacked_size, 100u);
  EXPECT_EQ(packed.record.crc, 0x25520E90u);
}

}  // namespace
}  // namespace qv::codec
