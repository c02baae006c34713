// The System port: the named mutex, memory size, clock and sleep, local time,
// the last error and its text, reboot requests, starting other programs and
// ending this one, and the loader's own command line and file name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/win_error.h"

namespace qv::platform {

// A handle on a named mutex; the mutex stays open until it is destroyed or
// the process ends.
class MutexHandle {
 public:
  virtual ~MutexHandle() = default;
};

// The local time as the C run time's struct tm holds it, in readable units.
struct LocalTime {
  int year = 2001;
  int month = 1;        // 1..12
  int day = 1;          // 1..31
  int hour = 0;         // 0..23
  int minute = 0;       // 0..59
  int second = 0;       // 0..59
  int day_of_week = 0;  // 0 = Sunday
};

// Thrown by ExitProcess of a platform that cannot end the process itself (the
// simulator): whoever runs the loader catches it. Loader code never catches
// exceptions, so nothing of it runs after an exit.
struct ProcessEnded {
  int exit_code = 0;
};

class System {
 public:
  virtual ~System() = default;

  // CreateMutexA (no security attributes, not owned). nullptr on failure.
  // Leaves kAlreadyExists as the last error when another holder already had
  // the mutex (the handle then refers to it), kSuccess otherwise.
  virtual std::unique_ptr<MutexHandle> CreateNamedMutex(std::string_view name) = 0;
  // GlobalMemoryStatus: total physical memory in bytes.
  virtual std::uint64_t PhysicalMemory() = 0;
  // Milliseconds since the system started (GetTickCount).
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  virtual LocalTime Now() = 0;

  virtual WinError LastError() = 0;
  virtual void SetLastError(WinError error) = 0;
  // FormatMessageA (FORMAT_MESSAGE_FROM_SYSTEM, neutral language): the text
  // for a code, or nullopt when the system has none.
  virtual std::optional<std::string> ErrorText(WinError error) = 0;

  // ExitWindowsEx(EWX_REBOOT | EWX_FORCE): true when the request was
  // accepted. The machine restarts later; the caller goes on.
  virtual bool RequestReboot() = 0;
  // Creates a process for the program (a path as the Files port takes it)
  // with the command line given (argument 0 first) and this process's
  // current folder, without waiting for it. False, with the last error, when
  // it cannot be started (kFileNotFound for a missing program).
  virtual bool StartProgram(std::string_view program, std::string_view command_line) = 0;
  // Ends this process at once with the exit code. Nothing after it runs.
  [[noreturn]] virtual void ExitProcess(int exit_code) = 0;

  // The command line after the program name, as the system hands it to the
  // application object.
  virtual std::string CommandLine() = 0;
  // The full path of the running program's file (GetModuleFileNameA).
  virtual std::string ModuleFileName() = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
  virtual CodePage ActiveCodePage() = 0;
};

}  // namespace qv::platform
