#include "archive/worker_pool.h"

#include <gtest/gtest.h>

#include <latch>

namespace qv::archive {
namespace {

TEST(WorkerPoolTest, EveryTaskRunsAndItsResultComesBackThroughItsFuture) {
  for (const int threads : {0, 1, 3}) {
    WorkerPool pool(threads);
    std::vector<std::future<int>> results;
    for (int i = 0; i < 100; ++i)
      results.push_back(pool.Submit([i] { return i * i; }));
    for (int i = 0; i < 100; ++i)
      EXPECT_EQ(results[static_cast<std::size_t>(i)].get(), i * i);
  }
}

TEST(WorkerPoolTest, TasksRunOnSeveralThreadsAtOnce) {
  WorkerPool pool(2);
  // Each task waits for the other: with one thread they would never end.
  std::latch both(2);
  auto first = pool.Submit([&] { both.arrive_and_wait(); });
  auto second = pool.Submit([&] { both.arrive_and_wait(); });
  first.get();
  second.get();
}

TEST(WorkerPoolTest, ATaskKnowsWhetherOthersRunOrWait) {
  WorkerPool pool(2);
  EXPECT_TRUE(pool.Submit([&] { return pool.OnlyTask(); }).get());
  // Two at once: each looks while the other has begun and not ended.
  std::latch begun(2);
  std::latch looked(2);
  const auto look = [&] {
    begun.arrive_and_wait();
    const bool only = pool.OnlyTask();
    looked.arrive_and_wait();
    return only;
  };
  auto first = pool.Submit(look);
  auto second = pool.Submit(look);
  EXPECT_FALSE(first.get());
  EXPECT_FALSE(second.get());
  // One running, one waiting for a thread.
  WorkerPool single(1);
  std::latch go(1);
  auto running = single.Submit([&] {
    go.wait();
    return single.OnlyTask();
  });
  auto waiting = single.Submit([&] { return single.OnlyTask(); });
  go.count_down();
  EXPECT_FALSE(running.get());
  EXPECT_TRUE(waiting.get());
}

// A pool may go while tasks wait: each future then holds its result or
// says that its task was dropped, and nothing waits for ever.
TEST(WorkerPoolTest, APoolGoesWhileTasksWait) {
  std::vector<std::future<int>> results;
  {
    WorkerPool pool(1);
    for (int i = 0; i < 50; ++i)
      results.push_back(pool.Submit([i] { return i; }));
  }
  for (int i = 0; i < 50; ++i) {
    try {
      EXPECT_EQ(results[static_cast<std::size_t>(i)].get(), i);
    } catch (const std::future_error& error) {
      EXPECT_EQ(error.code(), std::future_errc::broken_promise);
    }
  }
}

}  // namespace
}  // namespace qv::archive
