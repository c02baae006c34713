// The archive library's update operations on arbitrary files: a tree of
// files added to a new archive (and, for some inputs, half of them added
// again with other bytes, replacing their members) must extract to exactly
// the same tree, byte for byte, with no temporary file left.
//
// Input: one byte of choices (bit 0 adds a second time), then files, each
// one byte of shape (bit 0 puts it in a subfolder, bits 1-3 its name's
// length less one), the name's bytes (each taken as a letter or digit), two
// bytes of size (little-endian) and as many bytes of contents as remain.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/archive_library.h"
#include "archive/archive_names.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/host_snapshot.h"
#include "sim/test_machine.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;
using archive::ArchiveLibrary;

constexpr std::size_t kMostFiles = 12;
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> input) : input_(input) {}
  bool empty() const { return at_ >= input_.size(); }
  std::uint8_t Byte() { return empty() ? 0 : input_[at_++]; }
  std::string Bytes(std::size_t count) {
    count = std::min(count, input_.size() - std::min(at_, input_.size()));
    std::string bytes(input_.begin() + static_cast<std::ptrdiff_t>(at_),
                      input_.begin() + static_cast<std::ptrdiff_t>(at_ + count));
    at_ += count;
    return bytes;
  }

 private:
  std::span<const std::uint8_t> input_;
  std::size_t at_ = 0;
};

// The files of the input, by their path below C:\IN ('/' between names).
std::map<std::string, std::string> FilesOf(Reader& reader) {
  std::map<std::string, std::string> files;
  while (!reader.empty() && files.size() < kMostFiles) {
    const std::uint8_t shape = reader.Byte();
    std::string name;
    for (int i = 0; i <= (shape >> 1 & 7); ++i)
      name += kAlphabet[reader.Byte() % kAlphabet.size()];
    std::size_t size = reader.Byte();
    size |= static_cast<std::size_t>(reader.Byte()) << 8;
    std::string contents = reader.Bytes(size);
    // A device name is no file on the instrument; extraction refuses it.
    if (archive::IsDeviceName(name)) continue;
    files[(shape & 1) != 0 ? "SUB.D/" + name : name] = std::move(contents);
  }
  return files;
}

// A fresh machine for every input: what one input leaves in the simulated
// file system must not decide the next one's result, or a finding cannot be
// replayed alone.
class UpdateHarness {
 public:
  explicit UpdateHarness(sim::TestMachine& machine) : machine_(machine) {}

  void Run(std::span<const std::uint8_t> input) {
    Reader reader(input);
    const bool twice = (reader.Byte() & 1) != 0;
    std::map<std::string, std::string> files = FilesOf(reader);
    if (files.empty()) return;
    Write(files);
    Add();
    if (twice) {
      bool every_other = false;
      for (auto& [name, contents] : files) {
        if ((every_other = !every_other)) std::reverse(contents.begin(), contents.end());
        contents += name;
      }
      Write(files);
      Add();
    }
    ArchiveLibrary library(machine_.files());
    if (library.ArchiveOpen("C:\\T.ARQ", archive::kModeKeepPaths | archive::kModeReadOnly) !=
        Status::kOk) {
      Broken("the archive written opens");
    }
    library.ArchiveSelectExtract("*.*", "C:\\OUT");
    if (library.ArchiveProcess() != Status::kOk) Broken("the archive written extracts");
    library.ArchiveClose();

    HostFiles expected;
    for (const auto& [name, contents] : files)
      expected[out_ / "IN" / name] = contents;
    if (Snapshot(out_) != expected) {
      ShowDifference(expected, Snapshot(out_));
      Broken("every file comes back byte for byte");
    }
    if (HoldsTemporaryFile(c_)) Broken("no temporary file left");
  }

 private:
  void Write(const std::map<std::string, std::string>& files) const {
    for (const auto& [name, contents] : files) {
      fs::create_directories((in_ / name).parent_path());
      std::ofstream(in_ / name, std::ios::binary) << contents;
    }
  }
  void Add() {
    ArchiveLibrary library(machine_.files());
    if (library.ArchiveOpen("C:\\T.ARQ", archive::kModeKeepPaths) != Status::kOk) {
      Broken("the archive opens for an update");
    }
    library.ArchiveSelectAdd("C:\\IN\\*.*");
    if (library.ArchiveProcess() != Status::kOk) Broken("the update walks through");
    if (library.ArchiveClose() != Status::kOk) Broken("the update closes");
  }

  sim::TestMachine& machine_;
  fs::path c_ = machine_.Host("");
  fs::path in_ = machine_.Host("IN");
  fs::path out_ = machine_.Host("OUT");
};

}  // namespace

void ArchiveUpdateInput(std::span<const std::uint8_t> input) {
  sim::TestMachine machine;
  UpdateHarness(machine).Run(input);
}

}  // namespace qv::fuzz
