#include "tests/scenario.h"

#include <algorithm>

#include "sim/host_io.h"
#include "sim/transcript.h"

namespace qv::tests {

void Scenario::EditConfig(const std::function<void(nlohmann::ordered_json&)>& edit) {
  const std::filesystem::path file = machine_.folder() / "machine.json";
  nlohmann::ordered_json json = nlohmann::ordered_json::parse(*sim::ReadWholeFile(file));
  edit(json);
  sim::WriteFileAtomically(file, json.dump(2));
}

const sim::BootOutcome& Scenario::Boot(const std::string& command_line) {
  sim::Machine& machine = machine_.Open();
  machine.system().SetCommandLine(command_line);
  outcome_ = sim::Boot(machine, [this](platform::Platform platform) {
    if (before_loader) before_loader(platform);
    app::Application application(platform, [this](const app::Services& services) {
      app::Subsystems parts = loader::BuildSubsystems(services);
      if (change_parts) change_parts(parts, services);
      return parts;
    });
    return application.Run();
  });
  events_ = machine.journal().events();
  return outcome_;
}

std::vector<std::string> Scenario::Story() const {
  std::vector<std::string> lines;
  for (const nlohmann::ordered_json& entry : events_) {
    const std::string line = sim::ReadableLine(entry);
    lines.push_back(line.substr(line.find(" s  ") + 4));
  }
  return lines;
}

std::vector<std::string> Scenario::Story(std::string_view event) const {
  std::vector<std::string> lines;
  const std::vector<std::string> all = Story();
  for (std::size_t i = 0; i < events_.size(); ++i) {
    if (events_[i]["event"] == event) lines.push_back(all[i]);
  }
  return lines;
}

std::vector<std::string> WithoutMarkerSearches(std::vector<std::string> lines) {
  std::erase(lines, kMarkerNotFound);
  return lines;
}

bool HasRun(const std::vector<std::string>& lines, const std::vector<std::string>& run) {
  return std::search(lines.begin(), lines.end(), run.begin(), run.end()) != lines.end();
}

}  // namespace qv::tests
