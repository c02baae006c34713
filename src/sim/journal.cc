#include "sim/journal.h"

#include "sim/latin1.h"

namespace qv::sim {

void Journal::Record(std::string_view event, const nlohmann::ordered_json& fields) {
  nlohmann::ordered_json entry = {{"t", clock_.ElapsedMs()}, {"event", event}};
  if (fields.is_object()) {
    for (const auto& [key, value] : fields.items()) {
      entry[key] =
          value.is_string() ? nlohmann::ordered_json(BytesToJson(value.get<std::string>())) : value;
    }
  }
  events_.push_back(std::move(entry));
  if (listener_) listener_(events_.back());
}

}  // namespace qv::sim
