// A platform that forwards every call to another one. Tests derive from it and
// override the single operations they want to change; the fault injector is
// built on it too.
#pragma once

#include "platform/platform.h"

namespace qv::platform {

class PlatformWrapper : public Files, public Registry, public Desktop, public System, public Board {
 public:
  explicit PlatformWrapper(Platform inner) : inner_(inner) {}

  // The ports of this wrapper, to hand to the code under test.
  Platform platform() { return {*this, *this, *this, *this, *this}; }
  Platform& inner() { return inner_; }

  // Files
  Result<Stream> Open(std::string_view path, std::string_view mode) override;
  char CurrentDrive() override;
  Outcome ChangeDrive(char drive) override;
  Result<std::string> CurrentFolder(char drive) override;
  Outcome ChangeFolder(std::string_view path) override;
  Result<std::string> FullPath(std::string_view path) override;
  Result<std::vector<FindData>> Find(std::string_view pattern) override;
  Outcome Access(std::string_view path, AccessCheck check) override;
  Result<AttributeWord> GetAttributes(std::string_view path) override;
  Outcome SetAttributes(std::string_view path, AttributeWord attributes) override;
  Outcome SetWritable(std::string_view path, bool writable) override;
  Result<FileStatus> Status(std::string_view path) override;
  Outcome SetTimes(std::string_view path, FileTime access, FileTime write) override;
  Outcome MakeFolder(std::string_view path) override;
  Outcome RemoveFolder(std::string_view path) override;
  Outcome Remove(std::string_view path) override;
  Outcome Rename(std::string_view from, std::string_view to) override;
  Outcome Move(std::string_view from, std::string_view to, bool replace_existing) override;
  Outcome Copy(std::string_view from, std::string_view to, bool fail_if_exists) override;
  DriveType GetDriveType(char drive) override;
  Result<DiskSpace> GetDiskSpace(char drive) override;
  bool DriveReady(char drive) override;

  // Registry
  Outcome CreateKey(std::string_view key) override;
  Outcome OpenKey(std::string_view key) override;
  Outcome DeleteKey(std::string_view key) override;
  Result<RegistryValue> QueryValue(std::string_view key, std::string_view name,
                                   std::size_t capacity) override;
  Outcome SetValue(std::string_view key, std::string_view name,
                   const RegistryValue& value) override;

  // Desktop
  WindowHandle CreateMainWindow(const MainWindowOptions& options) override;
  WindowHandle CreateModelessDialog(int template_id, DialogHandlers handlers) override;
  bool ShowWindow(WindowHandle window, ShowCommand command) override;
  void UpdateWindow(WindowHandle window) override;
  bool DestroyWindow(WindowHandle window) override;
  bool SetWindowTitle(WindowHandle window, std::string_view title) override;
  bool SetDialogItemText(WindowHandle dialog, int control_id, std::string_view text) override;
  void UpdateDialogControls(WindowHandle dialog) override;
  void DrawClientText(WindowHandle window, int x, int y, std::string_view text) override;
  void SetApplicationName(std::string_view name) override;
  BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override;
  bool EnumerateWindows(const std::function<bool(WindowHandle)>& callback) override;
  std::string WindowTitle(WindowHandle window, std::size_t buffer_size) override;
  std::string WindowClassName(WindowHandle window, std::size_t buffer_size) override;
  std::uint32_t WindowProcessId(WindowHandle window) override;
  std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                                  std::intptr_t lparam) override;
  WindowHandle DesktopWindow() override;
  WindowHandle TopChildWindow(WindowHandle parent) override;
  WindowHandle NextWindow(WindowHandle window) override;
  bool PlaceAtBottom(WindowHandle window) override;
  bool MessageWaiting() override;
  bool PumpMessage() override;
  int NumColors() override;
  int ChangeDisplayBits(int bits_per_pixel, bool update_registry) override;

  // System
  std::unique_ptr<MutexHandle> CreateNamedMutex(std::string_view name) override;
  std::uint64_t PhysicalMemory() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  LocalTime Now() override;
  WinError LastError() override;
  void SetLastError(WinError error) override;
  std::optional<std::string> ErrorText(WinError error) override;
  bool RequestReboot() override;
  bool StartProgram(std::string_view program, std::string_view command_line) override;
  [[noreturn]] void ExitProcess(int exit_code) override;
  std::string CommandLine() override;
  std::string ModuleFileName() override;
  std::uint32_t CurrentProcessId() override;
  CodePage ActiveCodePage() override;

  // Board
  DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                            std::size_t output_capacity) override;
  std::optional<std::uint8_t> ReadMemory(std::uint32_t address) override;
  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;
  bool LaunchPrinterWizard() override;

 private:
  Platform inner_;
};

}  // namespace qv::platform
