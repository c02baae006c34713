// One simulated instrument, read from its machine folder:
//
//   machine.json     what the instrument is (see machine_config.h)
//   drives/C A D     the drives' contents (A: only with a disk in it, D: only
//                    while the RAM drive exists)
//   registry.json    HKEY_LOCAL_MACHINE
//   attributes.json  DOS attributes the host cannot keep
//   state/           what boots leave (the named mutexes' lock files among it)
//
// A Machine stands for one run of the loader on the instrument: it holds the
// process's state (current drive and folders, last error, mutex handles),
// the window system, and the boot's clock, journal and screen pictures.
// Reading a folder changes nothing in it; PowerOn does what the instrument's
// system does at the start of a boot.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/fault_injector.h"
#include "platform/platform.h"
#include "sim/attribute_store.h"
#include "sim/boot_observer.h"
#include "sim/journal.h"
#include "sim/machine_config.h"
#include "sim/machine_desktop.h"
#include "sim/screen_pictures.h"
#include "sim/sim_board.h"
#include "sim/sim_files.h"
#include "sim/sim_registry.h"
#include "sim/sim_system.h"
#include "sim/virtual_clock.h"

namespace qv::sim {

struct MachineOptions {
  bool real_time = false;  // sleeps also wait on the host
  // Message boxes and dialogs are answered at this terminal instead of by
  // the operator section's script.
  const Terminal* terminal = nullptr;
  std::uint64_t time_limit_ms = kDefaultTimeLimitMs;
  // Off: no screen pictures are drawn (tests that boot a machine many times).
  bool take_pictures = true;
};

class Machine {
 public:
  // Throws MachineError with a one-line reason when the folder is no machine.
  explicit Machine(std::filesystem::path folder, MachineOptions options = {});
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // The start of a boot: d:\ is made afresh and empty when c:\config.sys
  // holds both RAM-drive lines (and is gone otherwise), and the loader's
  // starting folder becomes current.
  void PowerOn();

  platform::Platform platform() { return {files_, registry_, desktop_.desktop(), system_, board_}; }
  SimFiles& files() { return files_; }
  SimSystem& system() { return system_; }
  SimBoard& board() { return board_; }
  SimDesktop& desktop() { return desktop_.desktop(); }
  const MachineConfig& config() const { return config_; }
  const MachineOptions& options() const { return options_; }
  Journal& journal() { return journal_; }
  const Journal& journal() const { return journal_; }
  ScreenPictures& pictures() { return pictures_; }
  const BootObserver& observer() const { return observer_; }
  const std::filesystem::path& folder() const { return folder_; }
  bool HasRamDrive() const { return ram_drive_; }

 private:
  void AttachRamDrive();

  std::filesystem::path folder_;
  MachineOptions options_;
  MachineConfig config_;
  std::shared_ptr<ThreadState> thread_ = std::make_shared<ThreadState>();
  VirtualClock clock_;
  Journal journal_{clock_};
  AttributeStore attributes_;
  SimFiles files_;
  SimRegistry registry_;
  SimSystem system_;
  SimBoard board_;
  ScreenFonts fonts_;
  ScreenPictures pictures_;
  BootObserver observer_;
  MachineDesktop desktop_;
  bool ram_drive_ = false;
};

// How a run of loader code on a machine ended.
struct RunEnd {
  // kStopped: the boot's time limit was reached.
  enum class Way { kReturned, kExited, kPowerCut, kStopped };
  Way way = Way::kReturned;
  int exit_code = 0;
};

// Runs the body, catching the ways a process ends without returning: an
// exit through the System port, a power cut of the fault injector, and the
// time limit of the machine's clock.
template <class Body>
RunEnd RunProcess(Body&& body) {
  try {
    body();
    return {RunEnd::Way::kReturned, 0};
  } catch (const platform::ProcessEnded& ended) {
    return {RunEnd::Way::kExited, ended.exit_code};
  } catch (const platform::PowerCut&) {
    return {RunEnd::Way::kPowerCut, 0};
  } catch (const TimeLimitReached&) {
    return {RunEnd::Way::kStopped, 0};
  }
}

}  // namespace qv::sim
