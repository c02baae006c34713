// machine.json on arbitrary bytes: the instrument is read, or refused with
// a one-line reason (MachineError), never with any other failure; one that
// is read powers on.
//
// Input: machine.json's bytes.
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/fuzz_entries.h"
#include "sim/json_fields.h"
#include "sim/test_machine.h"

namespace qv::fuzz {

void MachineJsonInput(std::span<const std::uint8_t> input) {
  static sim::TestMachine machine;
  std::ofstream(machine.folder() / "machine.json", std::ios::binary)
      .write(reinterpret_cast<const char*>(input.data()),
             static_cast<std::streamsize>(input.size()));
  try {
    machine.Open().PowerOn();
  } catch (const sim::MachineError&) {
    // refused with its reason, as qvsim shows it
  }
}

}  // namespace qv::fuzz
