// The machine's clock. Time is virtual: it starts at the machine's start time
// at every boot and moves only when the loader sleeps, which takes no host
// time, so that a boot runs at once and the same way every time. In real-time
// mode a sleep also waits on the host.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/system.h"

namespace qv::sim {

class VirtualClock {
 public:
  VirtualClock(std::chrono::sys_seconds start, bool real_time)
      : start_(start), real_time_(real_time) {}

  std::uint64_t ElapsedMs() const { return elapsed_ms_; }
  void Sleep(std::uint32_t milliseconds);
  // The local time now (the machine keeps local time; it has no zone).
  platform::LocalTime Now() const;

 private:
  std::chrono::sys_seconds start_;
  bool real_time_;
  std::uint64_t elapsed_ms_ = 0;
};

}  // namespace qv::sim
