#include "win32/win32_system.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "win32/command_line.h"
#include "win32/windows_api.h"

namespace qv::win32 {

namespace {

class Win32Mutex : public platform::MutexHandle {
 public:
  explicit Win32Mutex(HANDLE handle) : handle_(handle) {}
  Win32Mutex(const Win32Mutex&) = delete;
  Win32Mutex& operator=(const Win32Mutex&) = delete;
  ~Win32Mutex() override { ::CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

// Windows NT asks for the shutdown privilege before a reboot; Windows 98
// has no privileges and answers these calls with failure, which is fine.
void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  ::CloseHandle(token);
}

}  // namespace

std::unique_ptr<platform::MutexHandle> Win32System::CreateNamedMutex(std::string_view name) {
  const HANDLE handle = ::CreateMutexA(nullptr, FALSE, std::string(name).c_str());
  if (handle == nullptr) return nullptr;
  // The port leaves kSuccess when the mutex is new.
  if (::GetLastError() != ERROR_ALREADY_EXISTS) ::SetLastError(ERROR_SUCCESS);
  return std::make_unique<Win32Mutex>(handle);
}

std::uint64_t Win32System::PhysicalMemory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  ::GlobalMemoryStatus(&status);
  return status.dwTotalPhys;
}

std::uint32_t Win32System::TickCount() {
  return ::GetTickCount();
}

void Win32System::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

platform::LocalTime Win32System::Now() {
  SYSTEMTIME time{};
  ::GetLocalTime(&time);
  return {time.wYear,   time.wMonth,  time.wDay,      time.wHour,
          time.wMinute, time.wSecond, time.wDayOfWeek};
}

platform::WinError Win32System::LastError() {
  return static_cast<platform::WinError>(::GetLastError());
}

void Win32System::SetLastError(platform::WinError error) {
  ::SetLastError(platform::ToCode(error));
}

std::optional<std::string> Win32System::ErrorText(platform::WinError error) {
  std::array<char, 512> text{};
  const DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       platform::ToCode(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                       text.data(), static_cast<DWORD>(text.size()), nullptr);
  if (length == 0) return std::nullopt;
  return std::string(text.data(), length);
}

bool Win32System::RequestReboot() {
  EnableShutdownPrivilege();
  return ::ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0) != 0;
}

bool Win32System::StartProgram(std::string_view program, std::string_view command_line) {
  // CreateProcessA may write into the command line it is given.
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(std::string(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

void Win32System::ExitProcess(int exit_code) {
  // Through the run time, so that its open streams reach their files.
  std::exit(exit_code);
}

std::string Win32System::CommandLine() {
  return std::string(ArgumentsOf(::GetCommandLineA()));
}

std::string Win32System::ModuleFileName() {
  std::array<char, MAX_PATH + 1> name{};
  const DWORD length = ::GetModuleFileNameA(nullptr, name.data(), MAX_PATH);
  return std::string(name.data(), length);
}

std::uint32_t Win32System::CurrentProcessId() {
  return ::GetCurrentProcessId();
}

platform::CodePage Win32System::ActiveCodePage() {
  return platform::CodePageFromNumber(static_cast<int>(::GetACP()))
      .value_or(platform::CodePage::kWestern);
}

}  // namespace qv::win32
