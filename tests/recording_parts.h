// The loader's parts as recorders: every operation the main sequence calls
// goes into the boot's journal as a "call" event with its name, in order
// with the draws, sleeps and boxes, and gives the result the test scripted
// for it (else the neutral one). The tree copy sets the restart flag, as
// the real one does; so does a deferred installer scripted to give 1.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/subsystems.h"
#include "sim/journal.h"
#include "tests/scenario.h"

namespace qv::tests {

class RecordingScript {
 public:
  // The results the operation gives in turn; the last one then repeats.
  void Answer(const std::string& operation, std::vector<int> results);
  // Records the call and gives its result.
  int Call(std::string_view operation, int neutral);

  sim::Journal* journal = nullptr;

 private:
  std::map<std::string, std::deque<int>, std::less<>> results_;
};

app::Subsystems RecordingSubsystems(RecordingScript& script, const app::Services& services);

// Builds the scenario's loader with recording parts on its boots.
void UseRecordingParts(Scenario& scenario, RecordingScript& script);

}  // namespace qv::tests
