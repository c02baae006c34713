// For the sweeps that cut the power or fail a call at every point of a boot:
// copies of one prepared machine, boots of them through a fault injector,
// and the whole state of drive C: to compare one run's end with another's.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/boot.h"

namespace qv::tests {

// A machine folder copied from a prepared one, removed afterwards.
class MachineCopy {
 public:
  explicit MachineCopy(const std::filesystem::path& prepared);
  ~MachineCopy();
  MachineCopy(const MachineCopy&) = delete;
  MachineCopy& operator=(const MachineCopy&) = delete;

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path parent_;
  std::filesystem::path folder_;
};

// What goes wrong in one boot: the power after a write, or one call failing.
struct Faults {
  std::optional<int> cut_after_write = std::nullopt;
  std::optional<int> fail_nth_call = std::nullopt;
};

struct FaultyBoot {
  sim::BootOutcome outcome;
  int writes = 0;  // the writes the boot made before it ended
  int calls = 0;   // the calls that could have failed
};

// One boot of the machine folder (no screen pictures) with the faults.
FaultyBoot BootWith(const std::filesystem::path& machine, const Faults& faults = {});

// Boots without faults while the last boot had an accepted reboot request,
// at most `bound` boots; the last boot's outcome.
sim::BootOutcome BootUntilSettled(const std::filesystem::path& machine, int bound = 6);

// Drive C: whole: every folder, every file's bytes and read-only bit, and
// the attributes the machine keeps beside them. Files whose path (below the
// drive, with "/") is in `presence_only` count by their presence alone.
struct DriveState {
  std::set<std::string> folders;
  std::map<std::string, std::string> files;
  std::set<std::string> read_only;
  nlohmann::json attributes;

  bool operator==(const DriveState&) const = default;
};

DriveState ReadDriveC(const std::filesystem::path& machine,
                      const std::set<std::string>& presence_only = {});

// The first differences, one per line, for a failure message.
std::string Differences(const DriveState& expected, const DriveState& actual);

}  // namespace qv::tests
