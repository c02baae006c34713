// machine.json on arbitrary bytes: the instrument is read, or refused with
// a one-line reason (MachineError), never with any other failure; one that
// is read powers on.
//
// Input: machine.json's bytes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_entries.h"
#include "fuzz/host_snapshot.h"
#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::fuzz {

void MachineJsonInput(std::span<const std::uint8_t> input) {
  static sim::TestMachine machine;
  WriteHostFile(machine.folder() / "machine.json", input);
  try {
    machine.Open().PowerOn();
  } catch (const sim::MachineError&) {
    // refused with its reason, as qvsim shows it
  }
}

}  // namespace qv::fuzz
