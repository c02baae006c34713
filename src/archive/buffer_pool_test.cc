#include "archive/buffer_pool.h"

#include <gtest/gtest.h>

namespace qv::archive {
namespace {

TEST(BufferPoolTest, ABlockGivenBackServesTheSmallestRequestItFits) {
  BufferPool pool(1 << 20);
  Buffer large = pool.Take(10'000);
  Buffer small = pool.Take(100);
  ASSERT_GE(large.capacity, 10'000u);
  ASSERT_GE(small.capacity, 100u);
  const std::uint8_t* const large_bytes = large.bytes.get();
  const std::uint8_t* const small_bytes = small.bytes.get();
  pool.Give(std::move(large));
  pool.Give(std::move(small));

  EXPECT_EQ(pool.Take(50).bytes.get(), small_bytes);  // the smallest that fits
  Buffer again = pool.Take(5'000);
  EXPECT_EQ(again.bytes.get(), large_bytes);
  EXPECT_EQ(again.capacity, 10'000u);
  EXPECT_NE(pool.Take(5'000).bytes.get(), large_bytes);  // taken: a new block
}

TEST(BufferPoolTest, KeepsNoMoreThanItsLimit) {
  BufferPool pool(1'000);
  Buffer first = pool.Take(600);
  Buffer second = pool.Take(600);
  const std::uint8_t* const first_bytes = first.bytes.get();
  pool.Give(std::move(first));
  pool.Give(std::move(second));  // 1,200 bytes: not kept

  EXPECT_EQ(pool.Take(600).bytes.get(), first_bytes);
  const Buffer fresh = pool.Take(600);
  EXPECT_GE(fresh.capacity, 600u);
  EXPECT_NE(fresh.bytes, nullptr);
}

}  // namespace
}  // namespace qv::archive
