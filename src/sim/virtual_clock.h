// The machine's clock. Time is virtual: it starts at the machine's start time
// at every boot and moves only when the loader sleeps, which takes no host
// time, so that a boot runs at once and the same way every time. In real-time
// mode a sleep also waits on the host. A boot has a time limit, so that a
// loader that keeps waiting cannot hold the simulator for ever.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/system.h"

namespace qv::sim {

// Thrown by a sleep that would pass the boot's time limit; whoever runs the
// loader catches it and ends the boot.
struct TimeLimitReached {
  std::uint64_t limit_ms = 0;
};

// An hour of the instrument's time: far beyond any wait the loader means.
inline constexpr std::uint64_t kDefaultTimeLimitMs = 3'600'000;

class VirtualClock {
 public:
  VirtualClock(std::chrono::sys_seconds start, bool real_time,
               std::uint64_t limit_ms = kDefaultTimeLimitMs)
      : start_(start), real_time_(real_time), limit_ms_(limit_ms) {}

  std::uint64_t ElapsedMs() const { return elapsed_ms_; }
  // Throws TimeLimitReached instead of passing the limit.
  void Sleep(std::uint32_t milliseconds);
  // The local time now (the machine keeps local time; it has no zone).
  platform::LocalTime Now() const;

 private:
  std::chrono::sys_seconds start_;
  bool real_time_;
  std::uint64_t limit_ms_;
  std::uint64_t elapsed_ms_ = 0;
};

}  // namespace qv::sim
