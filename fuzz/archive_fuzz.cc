// The archive library on arbitrary bytes taken as an archive: checked,
// opened and extracted into C:\OUT of a scratch machine (and, for some
// inputs, rewritten with a delete entry). It must never crash, never leave
// a temporary file behind, and never create or change a file outside the
// destination; only the archive itself may change, and only in an update.
//
// Input: one byte of choices (bit 0 keeps paths, bit 1 updates, bit 2 names
// the file IN.EXE so that the archive is searched for behind other bytes),
// then the archive's bytes.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "archive/archive_library.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/host_snapshot.h"
#include "sim/test_machine.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;
using qv::archive::ArchiveLibrary;

class ArchiveHarness {
 public:
  ArchiveHarness() {
    // A small drive C:, so that members claiming huge sizes fail the space
    // test instead of filling the disk with zeros.
    qv::sim::DriveConfig small = qv::sim::DefaultDrive('C', qv::platform::DriveType::kFixed);
    small.capacity = 8u << 20;
    machine_.machine().files().AddDrive(std::make_shared<qv::sim::Drive>(small, c_));
  }

  void Run(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t choices = data[0];
    const bool update = (choices & 2) != 0;
    const char* file = (choices & 4) != 0 ? "IN.EXE" : "IN.ARQ";
    std::error_code error;
    fs::remove_all(out_, error);
    fs::remove(c_ / "IN.EXE", error);
    fs::remove(c_ / "IN.ARQ", error);
    std::ofstream(c_ / file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    const fs::path archive = c_ / file;
    HostFiles before = Snapshot(c_, out_);
    before.erase(archive);

    ArchiveLibrary library(machine_.files());
    const std::string name = std::string("C:\\") + file;
    static_cast<void>(library.ArchiveCheck(name));
    std::uint32_t mode = (choices & 1) != 0 ? qv::archive::kModeKeepPaths : 0;
    if (!update) mode |= qv::archive::kModeReadOnly;
    if (library.ArchiveOpen(name, mode) == qv::Status::kOk) {
      library.ArchiveSelectExtract("*.*", "C:\\OUT");
      if (update) library.ArchiveSelectDelete("*.B*");
      library.ArchiveProcess();
    }
    library.ArchiveClose();

    HostFiles after = Snapshot(c_, out_);
    after.erase(archive);
    if (after != before) Broken("nothing written outside the destination");
    if (HoldsTemporaryFile(c_)) Broken("no temporary file left");
  }

 private:
  qv::sim::TestMachine machine_;
  fs::path c_ = machine_.Host("");
  fs::path out_ = machine_.Host("OUT");
};

}  // namespace

void ArchiveInput(std::span<const std::uint8_t> input) {
  static ArchiveHarness harness;
  if (!input.empty()) harness.Run(input.data(), input.size());
}

}  // namespace qv::fuzz
