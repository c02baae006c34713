// The progress line on stderr: the member's name, its percentage and the
// throughput so far. Drawn only when stderr is a terminal and -q was not
// given, at most ten times a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

namespace qv::arq {

class ProgressBar {
 public:
  explicit ProgressBar(bool enabled) : enabled_(enabled) {}
  ~ProgressBar() { Clear(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // `done` of `size` bytes of the member are through.
  void Show(std::string_view name, std::uint64_t done, std::uint64_t size);
  // The member is through: its bytes count toward the throughput.
  void Finished(std::uint64_t size);
  // Takes the line away (before a message is printed, and at the end).
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;

  bool enabled_;
  bool drawn_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = {};
  std::uint64_t finished_bytes_ = 0;
};

}  // namespace qv::arq
