#include "platform/fault_injector.h"

#include <algorithm>

#include "platform/stream_mode.h"

namespace qv::platform {
namespace {

// A stream whose calls go through the injector, so that its reads and writes
// can fail and its writes count towards a power cut.
class FaultStream : public StreamPort {
 public:
  FaultStream(std::unique_ptr<StreamPort> inner, FaultInjector& faults)
      : inner_(std::move(inner)), faults_(faults) {}

  std::size_t Read(std::span<std::uint8_t> buffer) override {
    return Note(
        faults_.Guard<std::size_t>(Call::kRead, false, [&] { return inner_->Read(buffer); }));
  }
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    return Note(faults_.Guard<std::size_t>(Call::kWrite, false, [&] {
      std::size_t written = 0;
      do {
        const std::span<const std::uint8_t> cluster =
            bytes.subspan(written, std::min(kClusterBytes, bytes.size() - written));
        const std::size_t taken = inner_->Write(cluster);
        written += taken;
        if (taken == 0) break;
        faults_.CountWrite();
        if (taken < cluster.size()) break;
      } while (written < bytes.size());
      return written;
    }));
  }
  bool Seek(std::int64_t offset, SeekOrigin origin) override {
    return faults_.Guard<bool>(Call::kSeek, false, [&] { return inner_->Seek(offset, origin); });
  }
  std::int64_t Tell() override { return inner_->Tell(); }
  bool AtEnd() const override { return inner_->AtEnd(); }
  bool HasError() const override { return failed_ || inner_->HasError(); }
  bool Flush() override {
    return faults_.Guard<bool>(Call::kFlush, false, [&] { return inner_->Flush(); });
  }
  bool Close() override {
    return faults_.Guard<bool>(Call::kClose, false, [&] { return inner_->Close(); });
  }

 private:
  // An injected failure of a transfer sets the stream's error mark, as a
  // failing transfer does.
  std::size_t Note(std::size_t transferred) {
    if (transferred == 0 && !inner_->AtEnd()) failed_ = true;
    return transferred;
  }

  std::unique_ptr<StreamPort> inner_;
  FaultInjector& faults_;
  bool failed_ = false;
};

bool OpenWrites(std::string_view mode) {
  const std::optional<StreamMode> parsed = StreamMode::Parse(mode);
  return parsed && !parsed->MustExist();
}

}  // namespace

void FaultInjector::FailCall(Call call, int nth, WinError error, bool from_then_on) {
  faults_.push_back({call, nth, error, from_then_on});
}

void FaultInjector::FailNthCall(int nth, WinError error) {
  fail_nth_call_ = {nth, error};
}

void FaultInjector::CutPowerAfterWrite(int nth) {
  cut_after_write_ = nth;
}

std::optional<WinError> FaultInjector::Trip(Call call) {
  const int count = ++counts_[Index(call)];
  ++total_calls_;
  if (fail_nth_call_ && total_calls_ == fail_nth_call_->first) return fail_nth_call_->second;
  for (const Fault& fault : faults_) {
    if (fault.call != call) continue;
    if (count == fault.nth || (fault.from_then_on && count > fault.nth)) return fault.error;
  }
  return std::nullopt;
}

void FaultInjector::CountWrite() {
  ++writes_;
  if (cut_after_write_ && writes_ == *cut_after_write_) {
    power_lost_ = true;
    throw PowerCut{};
  }
}

Result<Stream> FaultInjector::Open(std::string_view path, std::string_view mode) {
  Result<Stream> opened = Guard<Result<Stream>>(Call::kOpen, OpenWrites(mode),
                                                [&] { return PlatformWrapper::Open(path, mode); });
  if (!opened) return opened;
  return Stream(std::make_unique<FaultStream>(opened->Release(), *this));
}

Outcome FaultInjector::ChangeDrive(char drive) {
  return Guard<Outcome>(Call::kChangeDrive, false,
                        [&] { return PlatformWrapper::ChangeDrive(drive); });
}
Result<std::string> FaultInjector::CurrentFolder(char drive) {
  return Guard<Result<std::string>>(Call::kCurrentFolder, false,
                                    [&] { return PlatformWrapper::CurrentFolder(drive); });
}
Outcome FaultInjector::ChangeFolder(std::string_view path) {
  return Guard<Outcome>(Call::kChangeFolder, false,
                        [&] { return PlatformWrapper::ChangeFolder(path); });
}
Result<std::string> FaultInjector::FullPath(std::string_view path) {
  return Guard<Result<std::string>>(Call::kFullPath, false,
                                    [&] { return PlatformWrapper::FullPath(path); });
}
Result<std::vector<FindData>> FaultInjector::Find(std::string_view pattern) {
  return Guard<Result<std::vector<FindData>>>(Call::kFind, false,
                                              [&] { return PlatformWrapper::Find(pattern); });
}
Outcome FaultInjector::Access(std::string_view path, AccessCheck check) {
  return Guard<Outcome>(Call::kAccess, false, [&] { return PlatformWrapper::Access(path, check); });
}
Result<AttributeWord> FaultInjector::GetAttributes(std::string_view path) {
  return Guard<Result<AttributeWord>>(Call::kGetAttributes, false,
                                      [&] { return PlatformWrapper::GetAttributes(path); });
}
Outcome FaultInjector::SetAttributes(std::string_view path, AttributeWord attributes) {
  return Guard<Outcome>(Call::kSetAttributes, true,
                        [&] { return PlatformWrapper::SetAttributes(path, attributes); });
}
Outcome FaultInjector::SetWritable(std::string_view path, bool writable) {
  return Guard<Outcome>(Call::kSetWritable, true,
                        [&] { return PlatformWrapper::SetWritable(path, writable); });
}
Result<FileStatus> FaultInjector::Status(std::string_view path) {
  return Guard<Result<FileStatus>>(Call::kStatus, false,
                                   [&] { return PlatformWrapper::Status(path); });
}
Outcome FaultInjector::SetTimes(std::string_view path, FileTime access, FileTime write) {
  return Guard<Outcome>(Call::kSetTimes, true,
                        [&] { return PlatformWrapper::SetTimes(path, access, write); });
}
Outcome FaultInjector::MakeFolder(std::string_view path) {
  return Guard<Outcome>(Call::kMakeFolder, true, [&] { return PlatformWrapper::MakeFolder(path); });
}
Outcome FaultInjector::RemoveFolder(std::string_view path) {
  return Guard<Outcome>(Call::kRemoveFolder, true,
                        [&] { return PlatformWrapper::RemoveFolder(path); });
}
Outcome FaultInjector::Remove(std::string_view path) {
  return Guard<Outcome>(Call::kRemove, true, [&] { return PlatformWrapper::Remove(path); });
}
Outcome FaultInjector::Rename(std::string_view from, std::string_view to) {
  return Guard<Outcome>(Call::kRename, true, [&] { return PlatformWrapper::Rename(from, to); });
}
Outcome FaultInjector::Move(std::string_view from, std::string_view to, bool replace_existing) {
  return Guard<Outcome>(Call::kMove, true,
                        [&] { return PlatformWrapper::Move(from, to, replace_existing); });
}
Outcome FaultInjector::Copy(std::string_view from, std::string_view to, bool fail_if_exists) {
  return Guard<Outcome>(Call::kCopy, false,
                        [&] { return CopyByClusters(from, to, fail_if_exists); });
}

Outcome FaultInjector::CopyByClusters(std::string_view from, std::string_view to,
                                      bool fail_if_exists) {
  const Outcome copied = PlatformWrapper::Copy(from, to, fail_if_exists);
  if (!copied) return copied;
  Files& files = inner().files;
  const Result<FileStatus> status = files.Status(to);
  const std::uint64_t size = status ? status->size : 0;
  const std::uint64_t clusters =
      std::max<std::uint64_t>(1, (size + kClusterBytes - 1) / kClusterBytes);
  for (std::uint64_t cluster = 1; cluster < clusters; ++cluster) {
    if (CutIsNext()) {
      // The cut falls inside the copy: only the first clusters reached the disk.
      std::vector<std::uint8_t> bytes(cluster * kClusterBytes);
      Result<Stream> source = files.Open(from, "rb");
      if (source) bytes.resize(source->Read(bytes));
      files.SetWritable(to, true);
      if (Result<Stream> target = files.Open(to, "wb")) target->Write(bytes);
    }
    CountWrite();
  }
  CountWrite();
  return copied;
}
Result<DiskSpace> FaultInjector::GetDiskSpace(char drive) {
  return Guard<Result<DiskSpace>>(Call::kDiskSpace, false,
                                  [&] { return PlatformWrapper::GetDiskSpace(drive); });
}
bool FaultInjector::DriveReady(char drive) {
  return Guard<bool>(Call::kDriveReady, false, [&] { return PlatformWrapper::DriveReady(drive); });
}

Outcome FaultInjector::CreateKey(std::string_view key) {
  return Guard<Outcome>(Call::kCreateKey, true, [&] { return PlatformWrapper::CreateKey(key); });
}
Outcome FaultInjector::OpenKey(std::string_view key) {
  return Guard<Outcome>(Call::kOpenKey, false, [&] { return PlatformWrapper::OpenKey(key); });
}
Outcome FaultInjector::DeleteKey(std::string_view key) {
  return Guard<Outcome>(Call::kDeleteKey, true, [&] { return PlatformWrapper::DeleteKey(key); });
}
Result<RegistryValue> FaultInjector::QueryValue(std::string_view key, std::string_view name,
                                                std::size_t capacity) {
  return Guard<Result<RegistryValue>>(
      Call::kQueryValue, false, [&] { return PlatformWrapper::QueryValue(key, name, capacity); });
}
Outcome FaultInjector::SetValue(std::string_view key, std::string_view name,
                                const RegistryValue& value) {
  return Guard<Outcome>(Call::kSetValue, true,
                        [&] { return PlatformWrapper::SetValue(key, name, value); });
}

std::unique_ptr<MutexHandle> FaultInjector::CreateNamedMutex(std::string_view name) {
  return Guard<std::unique_ptr<MutexHandle>>(
      Call::kCreateMutex, false, [&] { return PlatformWrapper::CreateNamedMutex(name); });
}
bool FaultInjector::RequestReboot() {
  return Guard<bool>(Call::kRequestReboot, false, [&] { return PlatformWrapper::RequestReboot(); });
}
bool FaultInjector::StartProgram(std::string_view program, std::string_view command_line) {
  return Guard<bool>(Call::kStartProgram, false,
                     [&] { return PlatformWrapper::StartProgram(program, command_line); });
}
DeviceReply FaultInjector::RequestDevice(std::string_view device, std::uint32_t control_code,
                                         std::size_t output_capacity) {
  return Guard<DeviceReply>(Call::kRequestDevice, false, [&] {
    return PlatformWrapper::RequestDevice(device, control_code, output_capacity);
  });
}
bool FaultInjector::LaunchPrinterWizard() {
  return Guard<bool>(Call::kPrinterWizard, false,
                     [&] { return PlatformWrapper::LaunchPrinterWizard(); });
}

WindowHandle FaultInjector::CreateMainWindow(const MainWindowOptions& options) {
  return Guard<WindowHandle>(Call::kCreateMainWindow, false,
                             [&] { return PlatformWrapper::CreateMainWindow(options); });
}
WindowHandle FaultInjector::CreateModelessDialog(int template_id, DialogHandlers handlers) {
  return Guard<WindowHandle>(Call::kCreateDialog, false, [&] {
    return PlatformWrapper::CreateModelessDialog(template_id, std::move(handlers));
  });
}
int FaultInjector::ChangeDisplayBits(int bits_per_pixel, bool update_registry) {
  return Guard<int>(Call::kChangeDisplay, false, [&] {
    return PlatformWrapper::ChangeDisplayBits(bits_per_pixel, update_registry);
  });
}

}  // namespace qv::platform
