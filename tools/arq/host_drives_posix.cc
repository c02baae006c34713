// arq's drives on Linux: the simulated instrument's file system over host
// folders, with the host's own free space on the fixed drives.

#include "sim/attribute_store.h"
#include "sim/host_io.h"
#include "sim/machine_config.h"
#include "sim/sim_files.h"
#include "tools/arq/host_drives.h"

namespace qv::arq {

namespace fs = std::filesystem;

namespace {

constexpr platform::CodePage kPage = platform::CodePage::kWestern;

}  // namespace

struct HostDrives::System {
  System(const fs::path& scratch, std::uint64_t disk_size)
      : attributes(scratch / "attributes.json", kPage),
        // An extraction keeps changing the folders it lists: once they
        // were listed again often enough, watching them all spares listing
        // them after every change, for a wait of some milliseconds when
        // arq ends, which smaller work never pays.
        files(attributes, thread, kPage, sim::FolderListings::Watching::kEveryFolderOnceBusy),
        disk_drive(sim::DefaultDrive('A', platform::DriveType::kRemovable)) {
    disk_drive.capacity = disk_size;
  }

  sim::AttributeStore attributes;
  std::shared_ptr<sim::ThreadState> thread = std::make_shared<sim::ThreadState>();
  sim::SimFiles files;
  sim::DriveConfig disk_drive;
};

bool PutFileInPlace(const fs::path& from, const fs::path& to) {
  return sim::ReplaceHostFile(from, to);
}

fs::path HostDrives::MakeScratch() {
  return sim::MakeTemporaryFolder("arq");
}

std::vector<std::pair<char, fs::path>> HostDrives::HostRoots(bool c_taken) {
  return {{c_taken ? 'Z' : 'C', "/"}};
}

HostDrives::SystemHandle HostDrives::MakeSystem(const DriveOptions& options) {
  return std::make_shared<System>(scratch_, options.disk_size);
}

HostDrives::~HostDrives() {
  std::error_code error;
  fs::remove_all(scratch_, error);
}

platform::Files& HostDrives::files() {
  return system_->files;
}

void HostDrives::Attach(char letter, const fs::path& folder) {
  sim::DriveConfig drive = sim::DefaultDrive(letter, platform::DriveType::kFixed);
  drive.host_space = true;
  drive.batch_writes = true;
  system_->files.AddDrive(std::make_shared<sim::Drive>(drive, folder));
}

void HostDrives::PutInDriveA(const fs::path& disk) {
  system_->files.AddDrive(std::make_shared<sim::Drive>(system_->disk_drive, disk));
}

}  // namespace qv::arq
