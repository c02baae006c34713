// A fixed set of threads that run submitted tasks in submission order, each
// result coming back through its future. The archive library hands it the
// packing of members read into memory; the file I/O stays on the caller's
// thread, since the Files port is not made for use from several threads.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace qv::archive {

class WorkerPool {
 public:
  // At least one thread is started.
  explicit WorkerPool(int threads);
  // Tasks not yet begun are dropped (their futures report a broken
  // promise); running ones are finished before the threads are joined.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // For a task: whether it is the only one begun and none waits.
  bool OnlyTask();

  template <class Task>
  std::future<std::invoke_result_t<Task>> Submit(Task task) {
    auto packaged =
        std::make_shared<std::packaged_task<std::invoke_result_t<Task>()>>(std::move(task));
    std::future<std::invoke_result_t<Task>> result = packaged->get_future();
    Push([packaged] { (*packaged)(); });
    return result;
  }

 private:
  void Push(std::function<void()> task);
  void Run();

  // The workers stop on a flag of the pool's own rather than on their
  // threads' stop tokens: with the C++ library of the MinGW-w64 GCC 12
  // compilers, a thread whose wait a stop request ends may then wait on a
  // wake-up that it has missed, holding the pool's lock, and the pool's
  // end waits for that lock for good.
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
  int running_ = 0;  // tasks begun and not yet finished
  bool stopping_ = false;
  std::vector<std::jthread> threads_;  // last: joined before the queue goes
};

}  // namespace qv::archive
