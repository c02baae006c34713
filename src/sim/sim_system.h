// The System port of the simulated instrument: the named mutex across
// processes, memory size, the virtual clock, the last error, and the events a
// boot shows to an observer (sleeps, reboot requests, program starts, the
// end of the process), which go into the machine's journal.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/system.h"
#include "sim/journal.h"
#include "sim/machine_config.h"
#include "sim/thread_state.h"
#include "sim/virtual_clock.h"

namespace qv::sim {

// A program the loader started: recorded, not run.
struct ProgramStart {
  std::string program;       // full path
  std::string command_line;  // as given, argument 0 first
  std::string current_folder;
};

class SimSystem : public platform::System {
 public:
  SimSystem(const MachineConfig& config, std::filesystem::path state_folder, VirtualClock& clock,
            Journal& journal, std::shared_ptr<ThreadState> thread, platform::Files& files);

  void SetCommandLine(std::string command_line) { loader_.command_line = std::move(command_line); }
  const std::vector<ProgramStart>& starts() const { return starts_; }

  std::unique_ptr<platform::MutexHandle> CreateNamedMutex(std::string_view name) override;
  std::uint64_t PhysicalMemory() override { return memory_bytes_; }
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  platform::LocalTime Now() override { return clock_.Now(); }
  platform::WinError LastError() override { return thread_->last_error; }
  void SetLastError(platform::WinError error) override { thread_->last_error = error; }
  std::optional<std::string> ErrorText(platform::WinError error) override;
  bool RequestReboot() override;
  bool StartProgram(std::string_view program, std::string_view command_line) override;
  [[noreturn]] void ExitProcess(int exit_code) override;
  std::string CommandLine() override { return loader_.command_line; }
  std::string ModuleFileName() override { return loader_.file; }
  std::uint32_t CurrentProcessId() override { return loader_.process_id; }
  platform::CodePage ActiveCodePage() override { return code_page_; }

 private:
  std::filesystem::path state_folder_;
  VirtualClock& clock_;
  Journal& journal_;
  std::shared_ptr<ThreadState> thread_;
  platform::Files& files_;
  LoaderConfig loader_;
  std::uint64_t memory_bytes_;
  platform::CodePage code_page_;
  bool reboot_accepted_;
  std::vector<ProgramStart> starts_;
};

}  // namespace qv::sim
