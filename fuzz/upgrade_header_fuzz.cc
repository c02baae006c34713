// The readers of the small files that steer an upgrade and the scope
// application from outside, on arbitrary bytes: the 52-byte upgrade header
// in the staging folder and the service marker on the floppy disk. Their
// texts never reach past their fields, and what they decide follows from
// the bytes alone.
//
// Input: the file's bytes, written as both files.
#include <cstdint>
#include <string>

#include "app/main_window.h"
#include "app/user_helpers.h"
#include "fuzz/fuzz_entries.h"
#include "instrument/marker_files.h"
#include "sim/test_machine.h"
#include "upgrade/package_files.h"
#include "upgrade/upgrade_header.h"

namespace qv::fuzz {
namespace {

class UpgradeHeaderHarness {
 public:
  void Run(std::span<const std::uint8_t> input) {
    const std::string bytes(input.begin(), input.end());
    machine_.WriteHost("scope/upgrade/scope/temp/qv731upg.hdr", bytes);
    machine_.WriteHost(std::string(instrument::kServiceMarker), bytes, 'A');
    platform::Files& files = machine_.files();

    if (!upgrade::EnterStagingFolder(files)) Broken("the staging folder is there");
    const upgrade::UpgradeHeader header = upgrade::ReadUpgradeHeader(files);
    if (header.part_number().size() > upgrade::kPartNumberField ||
        header.archive_name().size() > upgrade::kArchiveNameField) {
      Broken("texts stay within their fields");
    }
    const bool whole = bytes.size() >= upgrade::kHeaderSize;
    // The name must end with a zero byte inside its field and be a plain file name.
    const bool names_plain_file = header.archive_name().size() < upgrade::kArchiveNameField &&
                                  upgrade::PlainFileName(header.archive_name());
    if (header.pending() !=
        (whole && names_plain_file && (input[0] | input[1] | input[2] | input[3]) != 0)) {
      Broken("pending only for a whole header with a nonzero word and a plain archive name");
    }

    const bool valid = instrument::FloppyMarkerValid(files, helpers_, instrument::kServiceMarker);
    const bool expected =
        bytes.size() >= 12 && bytes.size() == static_cast<std::size_t>(input[10] | input[11] << 8);
    if (valid != expected) Broken("a marker is valid when its size is at bytes 10 and 11");
  }

 private:
  sim::TestMachine machine_{{.floppy = true}};
  app::MainWindow window_;
  app::UserHelpers helpers_{machine_.machine().platform(), window_};
};

}  // namespace

void UpgradeHeaderInput(std::span<const std::uint8_t> input) {
  static UpgradeHeaderHarness harness;
  harness.Run(input);
}

}  // namespace qv::fuzz
