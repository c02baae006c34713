// A platform wrapper that makes chosen calls fail, so that every failure
// branch of the loader and the library can be reached from a test without a
// hook in product code: the nth call of a kind fails once or from then on, or
// the power goes right after the nth write.
#pragma once

#include <array>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/platform_wrapper.h"

namespace qv::platform {

// The kinds of call that can be made to fail. Reads, writes, seeks, flushes
// and closes are those of the streams the wrapper opened.
enum class Call : int {
  kOpen,
  kChangeDrive,
  kCurrentFolder,
  kChangeFolder,
  kFullPath,
  kFind,
  kAccess,
  kGetAttributes,
  kSetAttributes,
  kSetWritable,
  kStatus,
  kSetTimes,
  kMakeFolder,
  kRemoveFolder,
  kRemove,
  kRename,
  kMove,
  kCopy,
  kDiskSpace,
  kDriveReady,
  kRead,
  kWrite,
  kSeek,
  kFlush,
  kClose,
  kCreateKey,
  kOpenKey,
  kDeleteKey,
  kQueryValue,
  kSetValue,
  kCreateMutex,
  kRequestReboot,
  kStartProgram,
  kRequestDevice,
  kPrinterWizard,
  kCreateMainWindow,
  kCreateDialog,
  kChangeDisplay,
  kCount,
};

// Thrown by the write after which the power went. Whoever runs the loader
// catches it; the machine then holds what was written up to that moment.
struct PowerCut {};

class FaultInjector : public PlatformWrapper {
 public:
  explicit FaultInjector(Platform inner) : PlatformWrapper(inner) {}

  // The nth call (counting from 1) of the kind fails with the error, which
  // it also leaves as the last error; with from_then_on every later one too.
  void FailCall(Call call, int nth, WinError error = WinError::kAccessDenied,
                bool from_then_on = false);
  // The nth call of any kind (counting every guarded call from 1) fails
  // once with the error: a sweep over n reaches every failing call.
  void FailNthCall(int nth, WinError error = WinError::kAccessDenied);
  // The power goes right after the nth write has taken effect: that call
  // throws PowerCut and every later call fails without effect. A write is a
  // call that changes a disk or the registry: opening with "w" or "a",
  // folder and file changes, attribute and time changes, and creating,
  // deleting and setting registry keys and values. The disk takes file
  // bytes a cluster at a time, so a stream write or a copy is one write per
  // cluster (at least one): a cut between two clusters leaves the target
  // torn, as a FAT disk would. A torn stream write has put its first
  // clusters in place (a prefix of the new bytes, over the old ones where
  // the stream overwrote); a torn copy leaves a writable file holding the
  // source's first clusters. Renames and moves stay atomic.
  void CutPowerAfterWrite(int nth);

  int CallCount(Call call) const { return counts_[Index(call)]; }
  int TotalCallCount() const { return total_calls_; }
  int WriteCount() const { return writes_; }
  bool PowerLost() const { return power_lost_; }
  // Whether the power would go at the next write that takes effect.
  bool CutIsNext() const { return cut_after_write_ && writes_ + 1 == *cut_after_write_; }
  // Counts a write that took effect, and cuts the power on the chosen one.
  void CountWrite();

  // Runs one call through the faults: used by the overrides below and by the
  // streams this wrapper hands out.
  template <class R, class F>
  R Guard(Call call, bool is_write, F&& forward);

  Result<Stream> Open(std::string_view path, std::string_view mode) override;
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
  Result<DiskSpace> GetDiskSpace(char drive) override;
  bool DriveReady(char drive) override;

  Outcome CreateKey(std::string_view key) override;
  Outcome OpenKey(std::string_view key) override;
  Outcome DeleteKey(std::string_view key) override;
  Result<RegistryValue> QueryValue(std::string_view key, std::string_view name,
                                   std::size_t capacity) override;
  Outcome SetValue(std::string_view key, std::string_view name,
                   const RegistryValue& value) override;

  std::unique_ptr<MutexHandle> CreateNamedMutex(std::string_view name) override;
  bool RequestReboot() override;
  bool StartProgram(std::string_view program, std::string_view command_line) override;
  DeviceReply RequestDevice(std::string_view device, std::uint32_t control_code,
                            std::size_t output_capacity) override;
  bool LaunchPrinterWizard() override;
  WindowHandle CreateMainWindow(const MainWindowOptions& options) override;
  WindowHandle CreateModelessDialog(int template_id, DialogHandlers handlers) override;
  int ChangeDisplayBits(int bits_per_pixel, bool update_registry) override;

 private:
  struct Fault {
    Call call;
    int nth;
    WinError error;
    bool from_then_on;
  };

  static constexpr std::size_t Index(Call call) { return static_cast<std::size_t>(call); }
  // Counts the call; the error it must fail with, if any.
  std::optional<WinError> Trip(Call call);
  // The copy, one write per cluster of the copied file, torn by a cut
  // that falls before its last cluster.
  Outcome CopyByClusters(std::string_view from, std::string_view to, bool fail_if_exists);

  std::vector<Fault> faults_;
  std::array<int, static_cast<std::size_t>(Call::kCount)> counts_{};
  std::optional<std::pair<int, WinError>> fail_nth_call_;
  int total_calls_ = 0;
  std::optional<int> cut_after_write_;
  int writes_ = 0;
  bool power_lost_ = false;
};

// The unit in which the simulated disk takes file bytes.
inline constexpr std::size_t kClusterBytes = 4096;

namespace fault_detail {

// What a call of each result type returns when it fails.
template <class R>
struct Failed {
  static R With(WinError error) { return Failure::System(error); }
};
template <>
struct Failed<bool> {
  static bool With(WinError) { return false; }
};
template <>
struct Failed<std::size_t> {
  static std::size_t With(WinError) { return 0; }
};
template <>
struct Failed<std::int64_t> {
  static std::int64_t With(WinError) { return -1; }
};
template <>
struct Failed<std::unique_ptr<MutexHandle>> {
  static std::unique_ptr<MutexHandle> With(WinError) { return nullptr; }
};
template <>
struct Failed<WindowHandle> {
  static WindowHandle With(WinError) { return {}; }
};
template <>
struct Failed<int> {  // a display-mode change
  static int With(WinError) { return kDisplayChangeFailed; }
};
template <>
struct Failed<DeviceReply> {
  static DeviceReply With(WinError) { return {}; }
};

template <class R>
bool Succeeded(const R& result) {
  if constexpr (std::is_same_v<R, std::size_t>) {
    return result > 0;
  } else if constexpr (std::is_same_v<R, DeviceReply>) {
    return result.succeeded;
  } else {
    return static_cast<bool>(result);
  }
}

}  // namespace fault_detail

template <class R, class F>
R FaultInjector::Guard(Call call, bool is_write, F&& forward) {
  if (power_lost_) {
    inner().system.SetLastError(WinError::kNotReady);
    return fault_detail::Failed<R>::With(WinError::kNotReady);
  }
  if (const std::optional<WinError> error = Trip(call)) {
    inner().system.SetLastError(*error);
    return fault_detail::Failed<R>::With(*error);
  }
  R result = forward();
  if (is_write && fault_detail::Succeeded(result)) CountWrite();
  return result;
}

}  // namespace qv::platform
