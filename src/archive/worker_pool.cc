#include "archive/worker_pool.h"

#include <algorithm>

namespace qv::archive {

WorkerPool::WorkerPool(int threads) {
  const int count = std::max(threads, 1);
  threads_.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    threads_.emplace_back([this](const std::stop_token& stop) { Run(stop); });
  }
}

WorkerPool::~WorkerPool() {
  for (std::jthread& thread : threads_)
    thread.request_stop();
  {
    // Dropped under the lock so that no worker takes one meanwhile.
    const std::scoped_lock lock(mutex_);
    tasks_.clear();
  }
  threads_.clear();
}

void WorkerPool::Push(std::function<void()> task) {
  {
    const std::scoped_lock lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

void WorkerPool::Run(const std::stop_token& stop) {
  while (true) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      if (!ready_.wait(lock, stop, [this] { return !tasks_.empty(); })) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

}  // namespace qv::archive
