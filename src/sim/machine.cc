#include "sim/machine.h"

#include "sim/host_io.h"
#include "sim/json_fields.h"
#include "sim/ram_drive.h"

namespace qv::sim {

namespace fs = std::filesystem;

namespace {

MachineConfig ReadConfig(const fs::path& folder) {
  std::optional<std::string> text;
  try {
    text = ReadWholeFile(folder / "machine.json");
  } catch (const std::runtime_error&) {
    throw MachineError("machine.json: cannot be read");
  }
  if (!text) throw MachineError(folder.string() + ": no machine.json (not a machine folder)");
  return MachineConfig::Parse(*text);
}

fs::path DriveFolder(const fs::path& machine, char letter) {
  return machine / "drives" / std::string(1, letter);
}

}  // namespace

Machine::Machine(fs::path folder, MachineOptions options)
    : folder_(std::move(folder)),
      options_(options),
      config_(ReadConfig(folder_)),
      clock_(config_.clock_start, options.real_time, options.time_limit_ms),
      attributes_(folder_ / "attributes.json", config_.code_page),
      files_(attributes_, thread_, config_.code_page),
      registry_(folder_ / "registry.json", thread_),
      system_(config_, folder_ / "state", clock_, journal_, thread_, files_),
      board_(config_, journal_, thread_),
      fonts_(LoadScreenFonts()),
      pictures_(folder_ / "state", fonts_, options.take_pictures),
      observer_(clock_, journal_, pictures_),
      desktop_(config_.document, config_.loader.process_id, options.terminal, fonts_, observer_,
               observer_) {
  std::error_code error;
  for (const DriveConfig& drive : config_.drives) {
    const fs::path root = DriveFolder(folder_, drive.letter);
    // A removable drive's folder is its disk, which may be out of the drive.
    if (drive.type != platform::DriveType::kRemovable && !fs::is_directory(root, error)) {
      throw MachineError("drives/" + std::string(1, drive.letter) + ": missing");
    }
    files_.AddDrive(std::make_shared<Drive>(drive, root));
  }
  // The RAM drive as the last boot left it.
  if (fs::is_directory(DriveFolder(folder_, kRamDriveLetter), error)) AttachRamDrive();
  fs::create_directories(folder_ / "state", error);
  if (error) throw MachineError("state: cannot be made");
}

void Machine::AttachRamDrive() {
  const DriveConfig ram{.letter = kRamDriveLetter,
                        .type = platform::DriveType::kRamDisk,
                        .capacity = kRamDriveBytes,
                        .cluster_bytes = kRamDriveClusterBytes};
  files_.AddDrive(std::make_shared<Drive>(ram, DriveFolder(folder_, kRamDriveLetter)));
  ram_drive_ = true;
}

void Machine::PowerOn() {
  // A RAM drive does not outlive the power.
  const fs::path ram = DriveFolder(folder_, kRamDriveLetter);
  files_.RemoveDrive(kRamDriveLetter);
  ram_drive_ = false;
  std::error_code error;
  fs::remove_all(ram, error);
  attributes_.Forget(platform::DosLocation{kRamDriveLetter, {}});
  if (ConfigAsksForRamDrive(files_)) {
    if (!fs::create_directories(ram, error)) throw MachineError("drives/D: cannot be made");
    AttachRamDrive();
  }
  files_.ResetCurrentFolders();
  files_.ChangeFolder(config_.loader.current_folder);
  thread_->last_error = platform::WinError::kSuccess;
}

}  // namespace qv::sim
