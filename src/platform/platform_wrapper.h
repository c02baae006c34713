// A platform that forwards every call to another one. Tests derive from it and
// override the single operations they want to change; the fault injector is
// built on it too.
#pragma once

#include "platform/platform.h"

namespace qv::platform {

class PlatformWrapper : public Files, public Registry, public System, public Board {
 public:
  explicit PlatformWrapper(Platform inner) : inner_(inner) {}

  // The ports of this wrapper, to hand to the code under test.
  Platform platform() { return {*this, *this, *this, *this}; }
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
