// The main sequence: the loader's whole job, run once inside the main
// window's private message. In a fixed order of 23 steps it decides, from
// the switches, files on the disks and the hardware, whether this boot sets
// up the RAM drive, continues or begins an upgrade, hands over to the
// pre-loader, adds a printer, installs LAN features, fixes the display
// mode, registers a deferred installer, restarts the machine or shows a
// hardware failure, and it ends by starting the scope application of the
// instrument's model. Waits are plain sleeps during which nothing else runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/main_window.h"
#include "app/status_box.h"
#include "app/subsystems.h"
#include "instrument/identification.h"

namespace qv::app {

class MainSequence {
 public:
  // Everything given must outlive the sequence.
  MainSequence(const Services& services, MainWindow& main_window, Subsystems& parts,
               instrument::Identification& identification)
      : services_(services),
        main_window_(main_window),
        parts_(parts),
        identification_(identification) {}

  // Returns only when the loader neither ended nor was replaced by another
  // program: after the hardware-failure screen or "Who am I???".
  void Run();

 private:
  struct SwitchSet {
    std::optional<std::string> text;  // the scope application's last argument
    bool service_mode = false;
  };

  void SingleInstanceCheck();                     // step 2
  bool RamDriveStep();                            // step 4: the RAM-drive flag
  SwitchSet ChooseSwitchSet();                    // step 5
  void InterferingPrograms(bool service_mode);    // step 6
  void RenameList();                              // step 11
  void PrinterStep();                             // step 12
  void HardwareFailureScreen();                   // step 13
  void UpgradeBranches(UpgradeContext& upgrade);  // step 16
  void ContinuingUpgrade(UpgradeContext& upgrade);
  void BeginningUpgrade(UpgradeContext& upgrade);
  // Installs the expanded package; false when a file was not installed.
  bool InstallUpgrade(UpgradeContext& upgrade);
  void AbandonUpgrade(UpgradeContext& upgrade);
  // An attempt that did not install the package: the next boot begins it
  // again, unless it was the last one.
  void FailedAttempt(UpgradeContext& upgrade, int attempt);
  void ProbeFileCleanup();
  void LanFeatures();                                                  // step 17
  void DisplayMode();                                                  // step 19
  void Restart();                                                      // step 21
  void Launch(bool ram_drive, const std::optional<std::string>& set);  // step 22

  // A status box with an empty text line under the caption.
  StatusBox ShowNotice(std::string_view caption);
  // A reboot request; accepted, a pause while the machine goes down,
  // refused, a status line.
  void RebootAndPause();
  void Show(platform::ShowCommand command);
  void Draw(int x, int y, std::string_view text) { services_.helpers.DrawStatusLine(x, y, text); }
  void Sleep(std::uint32_t milliseconds) { services_.platform.system.Sleep(milliseconds); }
  const SwitchFlags& switches() const { return services_.process.switches; }

  const Services& services_;
  MainWindow& main_window_;
  Subsystems& parts_;
  instrument::Identification& identification_;
};

}  // namespace qv::app
