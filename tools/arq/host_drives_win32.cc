// arq's drives on Windows: the system's own file system, each of arq's
// letters standing for a folder on it, and the system's drives keeping
// their letters (drive C: moves to a free letter when -C takes the letter);
// drive A: is the --disk folder inserted, a removable disk of its own size.
#include <random>
#include <stdexcept>

#include "tools/arq/folder_drives.h"
#include "tools/arq/host_drives.h"
#include "win32/win32_files.h"
#include "win32/windows_api.h"

namespace qv::arq {

namespace fs = std::filesystem;

namespace {

// Letters arq gives folders of its own.
bool ArqLetter(char letter) {
  return letter == 'C' || letter == 'T' || letter == 'X';
}

}  // namespace

struct HostDrives::System {
  explicit System(std::uint64_t size) : disk_size(size) {}

  win32::Win32Files base;
  FolderDrives files{base};
  std::uint64_t disk_size;
};

bool PutFileInPlace(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);  // one replacing move
  return !error;
}

fs::path HostDrives::MakeScratch() {
  std::random_device random;
  const fs::path temporary = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = temporary / ("arq-" + std::to_string(random() % 1'000'000));
    std::error_code error;
    if (fs::create_directory(folder, error)) return fs::canonical(folder);
  }
  throw std::runtime_error("no scratch folder in " + temporary.string());
}

std::vector<std::pair<char, fs::path>> HostDrives::HostRoots(bool c_taken) {
  const DWORD present = ::GetLogicalDrives();
  std::vector<std::pair<char, fs::path>> roots;
  char spare = 0;  // the last letter neither the system nor arq uses
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const bool real = (present >> (letter - 'A')) & 1;
    if (!real && !ArqLetter(letter)) spare = letter;
    if (real && !ArqLetter(letter)) roots.emplace_back(letter, std::string{letter, ':', '\\'});
  }
  if (present & (1u << ('C' - 'A'))) {
    const char c_letter = c_taken ? spare : 'C';
    if (c_letter != 0) roots.emplace_back(c_letter, "C:\\");
  }
  return roots;
}

HostDrives::SystemHandle HostDrives::MakeSystem(const DriveOptions& options) {
  return std::make_shared<System>(options.disk_size);
}

HostDrives::~HostDrives() {
  // Leave the scratch folder first: the system keeps a current folder open.
  system_->base.ChangeFolder(fs::temp_directory_path().string());
  std::error_code error;
  fs::remove_all(scratch_, error);
}

platform::Files& HostDrives::files() {
  return system_->files;
}

void HostDrives::Attach(char letter, const fs::path& folder) {
  system_->files.Map(letter, folder.string());
}

void HostDrives::PutInDriveA(const fs::path& disk) {
  system_->files.MapDisk('A', disk.string(), system_->disk_size);
}

}  // namespace qv::arq
