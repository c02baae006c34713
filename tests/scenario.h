// Whole boots of a scratch machine for the scenario tests: a fresh machine
// folder, edits to its machine.json and drives, a boot of the loader with a
// command line (its parts as this build has them, or changed by the test),
// and the boot's story: the transcript's lines without their times.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "loader/loader.h"
#include "sim/boot.h"
#include "sim/test_machine.h"

namespace qv::tests {

class Scenario {
 public:
  explicit Scenario(const sim::NewMachineOptions& options = {}) : machine_(options) {}

  // Changes machine.json before the next boot.
  void EditConfig(const std::function<void(nlohmann::ordered_json&)>& edit);
  sim::TestMachine& machine() { return machine_; }

  // Runs before the loader starts, after power-on (the process's first act).
  std::function<void(platform::Platform)> before_loader;
  // Changes the parts the loader is built with.
  std::function<void(app::Subsystems&, const app::Services&)> change_parts;

  // Boots the machine once with the loader's command line.
  const sim::BootOutcome& Boot(const std::string& command_line = "");

  // The transcript's lines without their times, of the last boot.
  std::vector<std::string> Story() const;
  // Only the lines of one event ("draw", "start", ...).
  std::vector<std::string> Story(std::string_view event) const;
  const std::vector<nlohmann::ordered_json>& events() const { return events_; }

 private:
  sim::TestMachine machine_;
  sim::BootOutcome outcome_;
  std::vector<nlohmann::ordered_json> events_;
};

// What a boot draws on its minimised window when a marker search finds
// nothing: the service, internal and printer markers each.
inline constexpr const char* kMarkerNotFound = "draw (10, 10) \"findfirst failed\\n\"";

// The lines without those of marker searches that found nothing.
std::vector<std::string> WithoutMarkerSearches(std::vector<std::string> lines);

// Whether the lines hold the run as consecutive lines.
bool HasRun(const std::vector<std::string>& lines, const std::vector<std::string>& run);

}  // namespace qv::tests
