#include "sim/virtual_clock.h"

#include <thread>

namespace qv::sim {

void VirtualClock::Sleep(std::uint32_t milliseconds) {
  if (elapsed_ms_ + milliseconds > limit_ms_) throw TimeLimitReached{limit_ms_};
  if (real_time_) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  elapsed_ms_ += milliseconds;
}

platform::LocalTime VirtualClock::Now() const {
  using namespace std::chrono;
  const sys_seconds now = start_ + duration_cast<seconds>(milliseconds(elapsed_ms_));
  const sys_days day = floor<days>(now);
  const year_month_day date(day);
  const hh_mm_ss<seconds> time(now - day);
  return {.year = static_cast<int>(date.year()),
          .month = static_cast<int>(static_cast<unsigned>(date.month())),
          .day = static_cast<int>(static_cast<unsigned>(date.day())),
          .hour = static_cast<int>(time.hours().count()),
          .minute = static_cast<int>(time.minutes().count()),
          .second = static_cast<int>(time.seconds().count()),
          .day_of_week = static_cast<int>(weekday(day).c_encoding())};
}

}  // namespace qv::sim
