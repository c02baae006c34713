#include "platform/platform_wrapper.h"

#include <exception>

namespace qv::platform {

Result<Stream> PlatformWrapper::Open(std::string_view path, std::string_view mode) {
  return inner_.files.Open(path, mode);
}
char PlatformWrapper::CurrentDrive() {
  return inner_.files.CurrentDrive();
}
Outcome PlatformWrapper::ChangeDrive(char drive) {
  return inner_.files.ChangeDrive(drive);
}
Result<std::string> PlatformWrapper::CurrentFolder(char drive) {
  return inner_.files.CurrentFolder(drive);
}
Outcome PlatformWrapper::ChangeFolder(std::string_view path) {
  return inner_.files.ChangeFolder(path);
}
Result<std::string> PlatformWrapper::FullPath(std::string_view path) {
  return inner_.files.FullPath(path);
}
Result<std::vector<FindData>> PlatformWrapper::Find(std::string_view pattern) {
  return inner_.files.Find(pattern);
}
Outcome PlatformWrapper::Access(std::string_view path, AccessCheck check) {
  return inner_.files.Access(path, check);
}
Result<AttributeWord> PlatformWrapper::GetAttributes(std::string_view path) {
  return inner_.files.GetAttributes(path);
}
Outcome PlatformWrapper::SetAttributes(std::string_view path, AttributeWord attributes) {
  return inner_.files.SetAttributes(path, attributes);
}
Outcome PlatformWrapper::SetWritable(std::string_view path, bool writable) {
  return inner_.files.SetWritable(path, writable);
}
Result<FileStatus> PlatformWrapper::Status(std::string_view path) {
  return inner_.files.Status(path);
}
Outcome PlatformWrapper::SetTimes(std::string_view path, FileTime access, FileTime write) {
  return inner_.files.SetTimes(path, access, write);
}
Outcome PlatformWrapper::MakeFolder(std::string_view path) {
  return inner_.files.MakeFolder(path);
}
Outcome PlatformWrapper::RemoveFolder(std::string_view path) {
  return inner_.files.RemoveFolder(path);
}
Outcome PlatformWrapper::Remove(std::string_view path) {
  return inner_.files.Remove(path);
}
Outcome PlatformWrapper::Rename(std::string_view from, std::string_view to) {
  return inner_.files.Rename(from, to);
}
Outcome PlatformWrapper::Move(std::string_view from, std::string_view to, bool replace_existing) {
  return inner_.files.Move(from, to, replace_existing);
}
Outcome PlatformWrapper::Copy(std::string_view from, std::string_view to, bool fail_if_exists) {
  return inner_.files.Copy(from, to, fail_if_exists);
}
DriveType PlatformWrapper::GetDriveType(char drive) {
  return inner_.files.GetDriveType(drive);
}
Result<DiskSpace> PlatformWrapper::GetDiskSpace(char drive) {
  return inner_.files.GetDiskSpace(drive);
}
bool PlatformWrapper::DriveReady(char drive) {
  return inner_.files.DriveReady(drive);
}

Outcome PlatformWrapper::CreateKey(std::string_view key) {
  return inner_.registry.CreateKey(key);
}
Outcome PlatformWrapper::OpenKey(std::string_view key) {
  return inner_.registry.OpenKey(key);
}
Outcome PlatformWrapper::DeleteKey(std::string_view key) {
  return inner_.registry.DeleteKey(key);
}
Result<RegistryValue> PlatformWrapper::QueryValue(std::string_view key, std::string_view name,
                                                  std::size_t capacity) {
  return inner_.registry.QueryValue(key, name, capacity);
}
Outcome PlatformWrapper::SetValue(std::string_view key, std::string_view name,
                                  const RegistryValue& value) {
  return inner_.registry.SetValue(key, name, value);
}

std::unique_ptr<MutexHandle> PlatformWrapper::CreateNamedMutex(std::string_view name) {
  return inner_.system.CreateNamedMutex(name);
}
std::uint64_t PlatformWrapper::PhysicalMemory() {
  return inner_.system.PhysicalMemory();
}
std::uint32_t PlatformWrapper::TickCount() {
  return inner_.system.TickCount();
}
void PlatformWrapper::Sleep(std::uint32_t milliseconds) {
  inner_.system.Sleep(milliseconds);
}
LocalTime PlatformWrapper::Now() {
  return inner_.system.Now();
}
WinError PlatformWrapper::LastError() {
  return inner_.system.LastError();
}
void PlatformWrapper::SetLastError(WinError error) {
  inner_.system.SetLastError(error);
}
std::optional<std::string> PlatformWrapper::ErrorText(WinError error) {
  return inner_.system.ErrorText(error);
}
bool PlatformWrapper::RequestReboot() {
  return inner_.system.RequestReboot();
}
bool PlatformWrapper::StartProgram(std::string_view program, std::string_view command_line) {
  return inner_.system.StartProgram(program, command_line);
}
void PlatformWrapper::ExitProcess(int exit_code) {
  inner_.system.ExitProcess(exit_code);
  std::terminate();  // the compiler cannot see that a virtual ExitProcess never returns
}
std::string PlatformWrapper::CommandLine() {
  return inner_.system.CommandLine();
}
std::string PlatformWrapper::ModuleFileName() {
  return inner_.system.ModuleFileName();
}
std::uint32_t PlatformWrapper::CurrentProcessId() {
  return inner_.system.CurrentProcessId();
}
CodePage PlatformWrapper::ActiveCodePage() {
  return inner_.system.ActiveCodePage();
}

DeviceReply PlatformWrapper::RequestDevice(std::string_view device, std::uint32_t control_code,
                                           std::size_t output_capacity) {
  return inner_.board.RequestDevice(device, control_code, output_capacity);
}
std::optional<std::uint8_t> PlatformWrapper::ReadMemory(std::uint32_t address) {
  return inner_.board.ReadMemory(address);
}
std::uint8_t PlatformWrapper::ReadPort(std::uint16_t port) {
  return inner_.board.ReadPort(port);
}
void PlatformWrapper::WritePort(std::uint16_t port, std::uint8_t value) {
  inner_.board.WritePort(port, value);
}
bool PlatformWrapper::LaunchPrinterWizard() {
  return inner_.board.LaunchPrinterWizard();
}

}  // namespace qv::platform
