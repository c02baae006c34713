// worker_pool_check.exe POOLS: starts and stops POOLS worker pools of two
// threads, each after two tasks, and says so on stdout. A pool's end that
// could miss a wake-up hung within a thousand of them under Wine, in every
// run tried.
#include <cstdio>
#include <cstdlib>

#include "archive/worker_pool.h"

int main(int argc, char** argv) {
  const int pools = argc > 1 ? std::atoi(argv[1]) : 1;
  for (int i = 0; i < pools; ++i) {
    qv::archive::WorkerPool pool(2);
    std::future<int> first = pool.Submit([] { return 1; });
    std::future<int> second = pool.Submit([] { return 2; });
    if (first.get() + second.get() != 3) {
      std::printf("pool %d: wrong results\n", i);
      return 1;
    }
  }
  std::printf("%d pools started and stopped\n", pools);
  return 0;
}
