#include "archive/worker_pool.h"

#include <algorithm>

namespace qv::archive {

WorkerPool::WorkerPool(int threads) {
  const int count = std::max(threads, 1);
  threads_.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    threads_.emplace_back([this] { Run(); });
  }
}

WorkerPool::~WorkerPool() {
  {
    // Dropped under the lock so that no worker takes one meanwhile.
    const std::scoped_lock lock(mutex_);
    stopping_ = true;
    tasks_.clear();
  }
  ready_.notify_all();
  threads_.clear();
}

void WorkerPool::Push(std::function<void()> task) {
  {
    const std::scoped_lock lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

bool WorkerPool::OnlyTask() {
  const std::scoped_lock lock(mutex_);
  return running_ == 1 && tasks_.empty();
}

void WorkerPool::Run() {
  std::unique_lock lock(mutex_);
  while (true) {
    ready_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
    if (stopping_) return;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    ++running_;
    lock.unlock();
    task();
    lock.lock();
    --running_;
  }
}

}  // namespace qv::archive
