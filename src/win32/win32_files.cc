#include "win32/win32_files.h"

#include <direct.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/utime.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/stream_mode.h"
#include "win32/run_time_call.h"
#include "win32/side_name_replace.h"
#include "win32/win32_stream.h"
#include "win32/windows_api.h"

namespace qv::win32 {

using platform::AttributeWord;
using platform::Failure;
using platform::Outcome;
using platform::Result;

namespace {

// The system's calls take zero-terminated names.
std::string Z(std::string_view text) {
  return std::string(text);
}

std::string RootOf(char drive) {
  return {drive, ':', '\\'};
}

// Seconds since 1970 of a FILETIME (100 ns steps since 1601).
platform::FileTime SecondsOf(const FILETIME& time) {
  const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  constexpr std::uint64_t kTicksTo1970 = 116'444'736'000'000'000;
  return static_cast<platform::FileTime>((ticks - kTicksTo1970) / 10'000'000);
}

// The system's own code when a Win32 call fails, as the ports carry it.
Outcome WinCall(BOOL succeeded) {
  return succeeded ? Outcome() : Outcome(SystemFailure());
}

// A run-time call's result: 0 (or any value but -1) is success.
Outcome RunTimeCall(int result) {
  return result == -1 ? Outcome(RunTimeFailure()) : Outcome();
}

// "." and ".." first, then by upper-cased name, as the port promises.
bool FindOrder(const platform::FindData& a, const platform::FindData& b) {
  const auto dots = [](const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; };
  if (dots(a.name) != dots(b.name)) return dots(a.name) < dots(b.name);
  return std::lexicographical_compare(
      a.name.begin(), a.name.end(), b.name.begin(), b.name.end(), [](char x, char y) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? c - 0x20 : c; };
        return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y));
      });
}

struct FindCloser {
  void operator()(HANDLE handle) const { ::FindClose(handle); }
};

// "a+" in text mode drops a Ctrl-Z that ends the file, as the instrument's
// run time does (not every run time does it itself). A read-only file or
// one that cannot be opened is left to fopen's own refusal.
void DropEndingCtrlZ(std::string_view path) {
  std::FILE* file = std::fopen(Z(path).c_str(), "r+b");
  if (file == nullptr) return;
  if (std::fseek(file, -1, SEEK_END) == 0 && std::fgetc(file) == 0x1a) {
    std::fflush(file);
    _chsize(_fileno(file), std::ftell(file) - 1);
  }
  std::fclose(file);
}

}  // namespace

Result<platform::Stream> Win32Files::Open(std::string_view path, std::string_view mode) {
  const std::optional<platform::StreamMode> parsed = platform::StreamMode::Parse(mode);
  if (!parsed) return Failure::RunTime(platform::Errno::kEINVAL);
  if (parsed->Appends() && parsed->update && !parsed->binary) DropEndingCtrlZ(path);
  BeginRunTimeCall();
  std::FILE* file = std::fopen(Z(path).c_str(), Z(mode).c_str());
  if (file == nullptr) return RunTimeFailure();
  return platform::Stream(std::make_unique<Win32Stream>(file));
}

char Win32Files::CurrentDrive() {
  return static_cast<char>('A' + _getdrive() - 1);
}

Outcome Win32Files::ChangeDrive(char drive) {
  const char letter = platform::NormalDrive(drive);
  // The instrument's run time answers a drive that is not there so; not
  // every run time does.
  if (letter == 0 || GetDriveType(letter) == platform::DriveType::kNoRootDir) {
    return Leave(Failure::Both(platform::WinError::kInvalidDrive, platform::Errno::kEACCES));
  }
  BeginRunTimeCall();
  return RunTimeCall(_chdrive(letter - 'A' + 1));
}

Result<std::string> Win32Files::CurrentFolder(char drive) {
  const char letter = platform::NormalDrive(drive);
  std::array<char, MAX_PATH + 1> folder{};
  BeginRunTimeCall();
  if (_getdcwd(letter == 0 ? 0 : letter - 'A' + 1, folder.data(), folder.size()) == nullptr) {
    return RunTimeFailure();
  }
  return std::string(folder.data());
}

Outcome Win32Files::ChangeFolder(std::string_view path) {
  BeginRunTimeCall();
  const Outcome changed = RunTimeCall(_chdir(Z(path).c_str()));
  // The run time's _chdir leaves the current drive alone; the port's makes
  // a drive named in the path the current drive.
  if (changed && path.size() >= 2 && path[1] == ':') return ChangeDrive(path[0]);
  return changed;
}

Result<std::string> Win32Files::FullPath(std::string_view path) {
  std::array<char, MAX_PATH + 1> full{};
  BeginRunTimeCall();
  if (_fullpath(full.data(), Z(path).c_str(), full.size()) == nullptr) return RunTimeFailure();
  return std::string(full.data());
}

Result<std::vector<platform::FindData>> Win32Files::Find(std::string_view pattern) {
  WIN32_FIND_DATAA found{};
  const HANDLE first = ::FindFirstFileA(Z(pattern).c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return SystemFailure();
  const std::unique_ptr<void, FindCloser> search(first);
  std::vector<platform::FindData> entries;
  do {
    const AttributeWord attributes = found.dwFileAttributes & ~platform::attribute::kNormal;
    entries.push_back({found.cFileName, attributes,
                       (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow,
                       SecondsOf(found.ftLastWriteTime)});
  } while (::FindNextFileA(search.get(), &found));
  std::sort(entries.begin(), entries.end(), FindOrder);
  return entries;
}

Outcome Win32Files::Access(std::string_view path, platform::AccessCheck check) {
  BeginRunTimeCall();
  return RunTimeCall(_access(Z(path).c_str(), static_cast<int>(check)));
}

Result<AttributeWord> Win32Files::GetAttributes(std::string_view path) {
  const DWORD attributes = ::GetFileAttributesA(Z(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return SystemFailure();
  return AttributeWord{attributes} & ~platform::attribute::kNormal;
}

Outcome Win32Files::SetAttributes(std::string_view path, AttributeWord attributes) {
  const AttributeWord settable = attributes & platform::attribute::kSettable;
  return WinCall(
      ::SetFileAttributesA(Z(path).c_str(), settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable));
}

Outcome Win32Files::SetWritable(std::string_view path, bool writable) {
  BeginRunTimeCall();
  return RunTimeCall(_chmod(Z(path).c_str(), writable ? _S_IREAD | _S_IWRITE : _S_IREAD));
}

Result<platform::FileStatus> Win32Files::Status(std::string_view path) {
  struct _stat status {};
  BeginRunTimeCall();
  if (_stat(Z(path).c_str(), &status) != 0) return RunTimeFailure();
  return platform::FileStatus{.size = static_cast<std::uint64_t>(status.st_size),
                              .mode = static_cast<std::uint16_t>(status.st_mode),
                              .access_time = status.st_atime,
                              .write_time = status.st_mtime,
                              .creation_time = status.st_ctime,
                              .drive = static_cast<int>(status.st_dev)};
}

Outcome Win32Files::SetTimes(std::string_view path, platform::FileTime access,
                             platform::FileTime write) {
  struct _utimbuf times {};
  times.actime = static_cast<time_t>(access);
  times.modtime = static_cast<time_t>(write);
  BeginRunTimeCall();
  return RunTimeCall(_utime(Z(path).c_str(), &times));
}

Outcome Win32Files::MakeFolder(std::string_view path) {
  BeginRunTimeCall();
  return RunTimeCall(_mkdir(Z(path).c_str()));
}

Outcome Win32Files::RemoveFolder(std::string_view path) {
  BeginRunTimeCall();
  return RunTimeCall(_rmdir(Z(path).c_str()));
}

Outcome Win32Files::Remove(std::string_view path) {
  BeginRunTimeCall();
  return RunTimeCall(std::remove(Z(path).c_str()));
}

Outcome Win32Files::Rename(std::string_view from, std::string_view to) {
  BeginRunTimeCall();
  return RunTimeCall(std::rename(Z(from).c_str(), Z(to).c_str()));
}

Outcome Win32Files::Move(std::string_view from, std::string_view to, bool replace_existing) {
  if (!replace_existing) return WinCall(::MoveFileA(Z(from).c_str(), Z(to).c_str()));
  // A read-only file is not replaced: the system refuses it, and the port
  // promises it whatever the system (Wine replaces it).
  const DWORD target = ::GetFileAttributesA(Z(to).c_str());
  if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY)) {
    return Leave(Failure::System(platform::WinError::kAccessDenied));
  }
  if (replace_ == Replace::kSystemCall) {
    const Outcome moved =
        WinCall(::MoveFileExA(Z(from).c_str(), Z(to).c_str(), MOVEFILE_REPLACE_EXISTING));
    if (moved.error() != platform::WinError::kCallNotImplemented) return moved;
    // Windows 98: from now on through the side name.
    replace_ = Replace::kSideName;
  }
  return ReplaceThroughSideName(*this, from, to);
}

Outcome Win32Files::Copy(std::string_view from, std::string_view to, bool fail_if_exists) {
  return WinCall(::CopyFileA(Z(from).c_str(), Z(to).c_str(), fail_if_exists));
}

platform::DriveType Win32Files::GetDriveType(char drive) {
  return static_cast<platform::DriveType>(::GetDriveTypeA(RootOf(drive).c_str()));
}

Result<platform::DiskSpace> Win32Files::GetDiskSpace(char drive) {
  DWORD sectors = 0, bytes = 0, free = 0, total = 0;
  if (!::GetDiskFreeSpaceA(RootOf(drive).c_str(), &sectors, &bytes, &free, &total)) {
    return SystemFailure();
  }
  return platform::DiskSpace{sectors, bytes, free, total};
}

bool Win32Files::DriveReady(char drive) {
  // A drive without a disk would otherwise ask the person to insert one.
  const UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS);
  const bool ready = GetDiskSpace(drive).ok();
  ::SetErrorMode(previous);
  return ready;
}

}  // namespace qv::win32
