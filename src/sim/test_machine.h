// For tests: a fresh machine in a temporary folder, removed afterwards, and
// small helpers to look at its host files.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/machine.h"
#include "sim/new_machine.h"

namespace qv::sim {

class TestMachine {
 public:
  explicit TestMachine(const NewMachineOptions& options = {});
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  // The machine as now on disk (opened afresh: a new process on it).
  Machine& Open(MachineOptions options = {});
  Machine& machine() { return *machine_; }
  platform::Files& files() { return machine_->files(); }

  // Host side of drive C: (or another drive).
  std::filesystem::path Host(std::string_view relative, char drive = 'C') const;
  std::string ReadHost(std::string_view relative, char drive = 'C') const;
  void WriteHost(std::string_view relative, std::string_view bytes, char drive = 'C') const;
  // The texts of the message boxes shown so far on the open machine.
  std::vector<std::string> BoxTexts();

 private:
  std::filesystem::path parent_;
  std::filesystem::path folder_;
  std::unique_ptr<Machine> machine_;
};

}  // namespace qv::sim
