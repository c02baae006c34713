// What a boot did that an observer can see, in order: one JSON object per
// event with "t" (virtual milliseconds since the boot began), "event" and the
// event's fields. The transcript of a boot is written from it. Text fields
// are the loader's bytes, held as the characters of the same numbers (see
// latin1.h), so that any byte can be written out.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/virtual_clock.h"

namespace qv::sim {

class Journal {
 public:
  explicit Journal(const VirtualClock& clock) : clock_(clock) {}

  using Listener = std::function<void(const nlohmann::ordered_json& entry)>;

  // fields must be an object (or null for none).
  void Record(std::string_view event, const nlohmann::ordered_json& fields = {});
  const std::vector<nlohmann::ordered_json>& events() const { return events_; }
  // Told of every entry as it is recorded (a live transcript).
  void SetListener(Listener listener) { listener_ = std::move(listener); }

 private:
  const VirtualClock& clock_;
  std::vector<nlohmann::ordered_json> events_;
  Listener listener_;
};

}  // namespace qv::sim
