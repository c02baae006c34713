// Named mutexes that every process working on the same machine folder sees:
// one lock file per name in the machine's state folder, locked with flock.
// Each open handle holds a shared lock; a creator that can take the lock
// exclusively first is the only holder, so the mutex is new. The system drops
// the locks of a process that ends, however it ends, so nothing goes stale.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/system.h"

namespace qv::sim {

struct MutexOpened {
  std::unique_ptr<platform::MutexHandle> handle;  // nullptr when it could not be made
  bool already_existed = false;
};

MutexOpened OpenHostMutex(const std::filesystem::path& state_folder, std::string_view name);

}  // namespace qv::sim
