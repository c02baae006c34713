#include "sim/sim_system.h"

#include "sim/host_mutex.h"

namespace qv::sim {

using platform::WinError;

namespace {
// The system has been up for a while when it starts the loader.
constexpr std::uint32_t kTicksAtLoaderStart = 12000;
}  // namespace

SimSystem::SimSystem(const MachineConfig& config, std::filesystem::path state_folder,
                     VirtualClock& clock, Journal& journal, std::shared_ptr<ThreadState> thread,
                     platform::Files& files)
    : state_folder_(std::move(state_folder)),
      clock_(clock),
      journal_(journal),
      thread_(std::move(thread)),
      files_(files),
      loader_(config.loader),
      memory_bytes_(config.memory_bytes),
      code_page_(config.code_page),
      reboot_accepted_(config.reboot_accepted) {}

std::unique_ptr<platform::MutexHandle> SimSystem::CreateNamedMutex(std::string_view name) {
  MutexOpened opened = OpenHostMutex(state_folder_, name);
  if (!opened.handle) {
    thread_->last_error = WinError::kAccessDenied;
    return nullptr;
  }
  thread_->last_error = opened.already_existed ? WinError::kAlreadyExists : WinError::kSuccess;
  return std::move(opened.handle);
}

std::uint32_t SimSystem::TickCount() {
  return static_cast<std::uint32_t>(kTicksAtLoaderStart + clock_.ElapsedMs());
}

void SimSystem::Sleep(std::uint32_t milliseconds) {
  journal_.Record("sleep", {{"ms", milliseconds}});
  clock_.Sleep(milliseconds);
}

std::optional<std::string> SimSystem::ErrorText(WinError error) {
  const std::optional<std::string_view> text = platform::SystemMessage(error);
  if (!text) return std::nullopt;
  return std::string(*text);
}

bool SimSystem::RequestReboot() {
  journal_.Record("reboot", {{"accepted", reboot_accepted_}});
  if (!reboot_accepted_) thread_->last_error = WinError::kPrivilegeNotHeld;
  return reboot_accepted_;
}

bool SimSystem::StartProgram(std::string_view program, std::string_view command_line) {
  const platform::Result<platform::AttributeWord> found = files_.GetAttributes(program);
  if (!found) return false;  // the file system left its error
  if (*found & platform::attribute::kDirectory) {
    thread_->last_error = WinError::kAccessDenied;
    return false;
  }
  ProgramStart start{files_.FullPath(program).value_or(std::string(program)),
                     std::string(command_line), files_.CurrentFolder(0).value_or("")};
  journal_.Record(
      "start",
      {{"program", start.program}, {"cmdline", start.command_line}, {"cwd", start.current_folder}});
  starts_.push_back(std::move(start));
  return true;
}

void SimSystem::ExitProcess(int exit_code) {
  journal_.Record("exit", {{"code", exit_code}});
  throw platform::ProcessEnded{exit_code};
}

}  // namespace qv::sim
