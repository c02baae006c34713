// Results of port calls. A failing call reports what the system would leave
// behind: its Win32 error code (also kept as the last error) and, for calls of
// the C run-time kind, the errno value the run time would set.
#pragma once

#include <optional>
#include <utility>
#include <variant>

#include "platform/win_error.h"

namespace qv::platform {

struct Failure {
  WinError error = WinError::kSuccess;  // kSuccess: the call never reached the system
  Errno errno_value = Errno::kNone;

  // A system call failed; the run time derives errno from the code.
  static Failure System(WinError error) { return {error, ErrnoFor(error)}; }
  // The run time refused by itself (a bad mode string, say); no system code.
  static Failure RunTime(Errno value) { return {WinError::kSuccess, value}; }
  // A system call failed and the run time sets an errno of its own choosing.
  static Failure Both(WinError error, Errno value) { return {error, value}; }
};

// Success, or the failure of a call that returns nothing else.
class Outcome {
 public:
  Outcome() = default;
  Outcome(Failure failure) : failure_(failure) {}  // NOLINT: a failure is an outcome

  explicit operator bool() const { return !failure_.has_value(); }
  bool ok() const { return !failure_.has_value(); }
  WinError error() const { return failure_ ? failure_->error : WinError::kSuccess; }
  Errno errno_value() const { return failure_ ? failure_->errno_value : Errno::kNone; }
  std::optional<Failure> failure() const { return failure_; }

 private:
  std::optional<Failure> failure_;
};

// A value, or the failure that kept the call from producing one. Reading the
// value of a failed result throws std::bad_variant_access.
template <class T>
class Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT
  Result(Failure failure) : state_(std::in_place_index<1>, failure) {}   // NOLINT

  explicit operator bool() const { return state_.index() == 0; }
  bool ok() const { return state_.index() == 0; }

  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  // A temporary result gives its value away, so that `*files.Find(...)` can
  // stand in a range-for without dangling.
  T value() && { return std::get<0>(std::move(state_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T value_or(T fallback) const& { return ok() ? value() : std::move(fallback); }

  WinError error() const { return ok() ? WinError::kSuccess : std::get<1>(state_).error; }
  Errno errno_value() const { return ok() ? Errno::kNone : std::get<1>(state_).errno_value; }
  Outcome outcome() const { return ok() ? Outcome() : Outcome(std::get<1>(state_)); }
  // The failure of a failed result (throws std::bad_variant_access otherwise).
  const Failure& failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace qv::platform
