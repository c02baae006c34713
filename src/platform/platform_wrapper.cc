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

WindowHandle PlatformWrapper::CreateMainWindow(const MainWindowOptions& options) {
  return inner_.desktop.CreateMainWindow(options);
}
WindowHandle PlatformWrapper::CreateModelessDialog(int template_id, DialogHandlers handlers) {
  return inner_.desktop.CreateModelessDialog(template_id, std::move(handlers));
}
bool PlatformWrapper::ShowWindow(WindowHandle window, ShowCommand command) {
  return inner_.desktop.ShowWindow(window, command);
}
void PlatformWrapper::UpdateWindow(WindowHandle window) {
  inner_.desktop.UpdateWindow(window);
}
bool PlatformWrapper::DestroyWindow(WindowHandle window) {
  return inner_.desktop.DestroyWindow(window);
}
bool PlatformWrapper::SetWindowTitle(WindowHandle window, std::string_view title) {
  return inner_.desktop.SetWindowTitle(window, title);
}
bool PlatformWrapper::SetDialogItemText(WindowHandle dialog, int control_id,
                                        std::string_view text) {
  return inner_.desktop.SetDialogItemText(dialog, control_id, text);
}
void PlatformWrapper::UpdateDialogControls(WindowHandle dialog) {
  inner_.desktop.UpdateDialogControls(dialog);
}
void PlatformWrapper::DrawClientText(WindowHandle window, int x, int y, std::string_view text) {
  inner_.desktop.DrawClientText(window, x, y, text);
}
void PlatformWrapper::SetApplicationName(std::string_view name) {
  inner_.desktop.SetApplicationName(name);
}
BoxAnswer PlatformWrapper::ShowMessageBox(BoxKind kind, std::string_view text) {
  return inner_.desktop.ShowMessageBox(kind, text);
}
bool PlatformWrapper::EnumerateWindows(const std::function<bool(WindowHandle)>& callback) {
  return inner_.desktop.EnumerateWindows(callback);
}
std::string PlatformWrapper::WindowTitle(WindowHandle window, std::size_t buffer_size) {
  return inner_.desktop.WindowTitle(window, buffer_size);
}
std::string PlatformWrapper::WindowClassName(WindowHandle window, std::size_t buffer_size) {
  return inner_.desktop.WindowClassName(window, buffer_size);
}
std::uint32_t PlatformWrapper::WindowProcessId(WindowHandle window) {
  return inner_.desktop.WindowProcessId(window);
}
std::intptr_t PlatformWrapper::SendWindowMessage(WindowHandle window, std::uint32_t message,
                                                 std::uintptr_t wparam, std::intptr_t lparam) {
  return inner_.desktop.SendWindowMessage(window, message, wparam, lparam);
}
WindowHandle PlatformWrapper::DesktopWindow() {
  return inner_.desktop.DesktopWindow();
}
WindowHandle PlatformWrapper::TopChildWindow(WindowHandle parent) {
  return inner_.desktop.TopChildWindow(parent);
}
WindowHandle PlatformWrapper::NextWindow(WindowHandle window) {
  return inner_.desktop.NextWindow(window);
}
bool PlatformWrapper::PlaceAtBottom(WindowHandle window) {
  return inner_.desktop.PlaceAtBottom(window);
}
bool PlatformWrapper::MessageWaiting() {
  return inner_.desktop.MessageWaiting();
}
bool PlatformWrapper::PumpMessage() {
  return inner_.desktop.PumpMessage();
}
int PlatformWrapper::NumColors() {
  return inner_.desktop.NumColors();
}
int PlatformWrapper::ChangeDisplayBits(int bits_per_pixel, bool update_registry) {
  return inner_.desktop.ChangeDisplayBits(bits_per_pixel, update_registry);
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
