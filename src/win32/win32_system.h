// The System port on the system itself: KERNEL32 for the mutex, memory,
// time, errors and processes, USER32's ExitWindowsEx for the reboot (with
// the shutdown privilege where the system asks for it).
#pragma once

#include "platform/system.h"

namespace qv::win32 {

class Win32System : public platform::System {
 public:
  std::unique_ptr<platform::MutexHandle> CreateNamedMutex(std::string_view name) override;
  std::uint64_t PhysicalMemory() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  platform::LocalTime Now() override;

  platform::WinError LastError() override;
  void SetLastError(platform::WinError error) override;
  std::optional<std::string> ErrorText(platform::WinError error) override;

  bool RequestReboot() override;
  bool StartProgram(std::string_view program, std::string_view command_line) override;
  [[noreturn]] void ExitProcess(int exit_code) override;

  std::string CommandLine() override;
  std::string ModuleFileName() override;
  std::uint32_t CurrentProcessId() override;
  platform::CodePage ActiveCodePage() override;
};

}  // namespace qv::win32
