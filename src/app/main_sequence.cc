#include "app/main_sequence.h"

#include "app/launch.h"
#include "app/program_start.h"
#include "instrument/memory_check.h"

namespace qv::app {
namespace {

using platform::ShowCommand;

constexpr std::string_view kInstanceMutex = "Vornkey";
constexpr std::string_view kRamDriveNotice = "Quorvex will now reboot to create RAM drive";
constexpr std::string_view kCannotReboot = "Can not reboot";
constexpr std::string_view kPrinterQuestion =
    "Did you already add a printer\nusing the Printer Wizard?";
constexpr std::string_view kPrinterWizardStarts =
    "The Add Printer Wizard will now start.\nAfter the printer installation is complete,\nplease "
    "cycle power on the scope.";
constexpr std::string_view kCannotLaunchWizard = "Can not launch Add Printer Wizard";
constexpr std::string_view kNoBoard = "Can't communicate with acquisition interface board.  ";
constexpr std::string_view kCyclePower = "Please cycle power on the instrument.";
constexpr std::string_view kLanNotice = "Quorvex will now install Lan Features";
constexpr std::string_view kDisplayChangeFailed =
    "Display mode change failed, instrument in 16 color mode";
constexpr std::string_view kWillRestart = "Your Quorvex will now restart             ";
constexpr std::string_view kToComplete = "to complete the upgrade. . .               ";
constexpr std::string_view kWhoAmI = "Who am I???";

}  // namespace

void MainSequence::Run() {
  std::unique_ptr<UpgradeContext> upgrade = parts_.create_upgrade_context();  // 1
  SingleInstanceCheck();                                                      // 2
  parts_.detector->Reset();                                                   // 3
  const bool ram_drive = RamDriveStep();                                      // 4
  const SwitchSet set = ChooseSwitchSet();                                    // 5
  InterferingPrograms(set.service_mode);                                      // 6
  parts_.detector->CloseAllChoiceDialogs();                                   // 7
  parts_.display_and_startup->CleanTemp("c:\\windows\\temp");                 // 8
  parts_.display_and_startup->MasksFolder();                                  // 9
  if (ram_drive) {                                                            // 10
    parts_.ram_drive->Empty("d:\\");
    parts_.ram_drive->CopyLibraries();
  }
  RenameList();                          // 11
  PrinterStep();                         // 12
  if (!identification_.DriverQuery()) {  // 13
    HardwareFailureScreen();
    return;
  }
  identification_.LocateModelRegister();  // 14
  // 15: an interrupted upgrade that is still pending is begun again by
  // step 16, its header and marker kept until it is installed or abandoned;
  // a marker without a pending header outlived an install that completed.
  if (upgrade->FailureMarkerExists() && !upgrade->UpgradePending()) {
    if (upgrade->RemoveUpgradeHeader()) upgrade->RemoveFailureMarker();
  }
  UpgradeBranches(*upgrade);                             // 16
  LanFeatures();                                         // 17
  if (switches().clearundo) upgrade->ClearBackupTree();  // 18
  DisplayMode();                                         // 19
  parts_.display_and_startup->DeferredInstaller();       // 20
  Restart();                                             // 21
  Launch(ram_drive, set.text);                           // 22
}  // 23: the upgrade context goes

void MainSequence::SingleInstanceCheck() {
  platform::System& system = services_.platform.system;
  services_.process.instance_mutex = system.CreateNamedMutex(kInstanceMutex);
  if (system.LastError() == platform::WinError::kAlreadyExists) ExitLoader(system);
}

bool MainSequence::RamDriveStep() {
  bool ram_drive = instrument::MemoryCheck(services_.platform.system);
  if (ram_drive && !switches().noram && parts_.ram_drive->SetUp()) {
    StatusBox notice = ShowNotice(kRamDriveNotice);
    Sleep(5000);
    notice.Destroy();
    RebootAndPause();
  }
  if (switches().noram) ram_drive = false;
  return ram_drive;
}

MainSequence::SwitchSet MainSequence::ChooseSwitchSet() {
  // The service marker is always looked at, the internal one only outside
  // service mode.
  if (parts_.markers->ServiceMarkerValid() || switches().service) {
    if (switches().autostart) ExitLoader(services_.platform.system);
    return {"/service", true};
  }
  if (parts_.markers->InternalMarkerValid() || switches().internal) return {"/internal", false};
  if (switches().asi) return {"/asi /minimize /lock", false};
  if (switches().maint) return {"/asi", false};
  if (switches().usb) return {"/usb", false};
  return {std::nullopt, false};
}

void MainSequence::InterferingPrograms(bool service_mode) {
  if (switches().noproc) return;
  Detector& detector = *parts_.detector;
  if (detector.LoadIgnoreList()) {
    detector.MergeDefaults();
  } else {
    detector.ResetToDefaults();
  }
  if (service_mode || !switches().autostart) return;
  Sleep(5000);
  if (!detector.WindowScan() || !detector.WindowScan()) return;
  do {
    Sleep(2000);
  } while (detector.WindowScan());
}

void MainSequence::RenameList() {
  constexpr const char* kRenameList = "c:\\chname";
  if (!parts_.display_and_startup->RenameList(kRenameList)) return;
  platform::Files& files = services_.platform.files;
  files.SetWritable(kRenameList, true);
  files.Remove(kRenameList);
}

void MainSequence::PrinterStep() {
  Markers& markers = *parts_.markers;
  if (!markers.PrinterMarkerPresent() || !markers.DeletePrinterMarker()) return;
  Show(ShowCommand::kShowMaximized);
  services_.helpers.SetVideoBit(true);
  if (services_.helpers.AskYesNo(kPrinterQuestion)) {
    RebootAndPause();
    return;
  }
  services_.helpers.OkBox(kPrinterWizardStarts);
  if (markers.LaunchAddPrinter()) {
    services_.platform.desktop.DestroyWindow(main_window_.handle());
    ExitLoader(services_.platform.system);
  }
  Draw(10, 50, kCannotLaunchWizard);
}

void MainSequence::HardwareFailureScreen() {
  Show(ShowCommand::kShowNormal);
  services_.helpers.SetVideoBit(true);
  Draw(10, 10, kNoBoard);
  Draw(10, 40, kCyclePower);
}

void MainSequence::LanFeatures() {
  if (!parts_.code_pages_and_lan->LanFeaturesCheck()) return;
  // The notice stays when the installer cannot be started.
  ShowNotice(kLanNotice);
  Sleep(5000);
  StartProgram(services_.platform.system, "c:\\scope\\bin\\InstallLan.exe", {"InstallLan"});
}

void MainSequence::DisplayMode() {
  DisplayAndStartup& display = *parts_.display_and_startup;
  if (display.DisplayModeCheck()) return;
  const int result = display.DisplayModeChange();
  if (result == platform::kDisplayChangeRestart) {
    services_.process.restart = true;
  } else if (result != platform::kDisplayChangeSuccessful) {
    Draw(10, 10, kDisplayChangeFailed);
    Sleep(5000);
  }
}

void MainSequence::Restart() {
  if (!services_.process.restart) return;
  Draw(10, 10, kWillRestart);
  Draw(10, 30, kToComplete);
  Sleep(2000);
  RebootAndPause();
}

void MainSequence::Launch(bool ram_drive, const std::optional<std::string>& set) {
  // The even-family test runs only when the odd one failed; each reads the
  // model register afresh.
  std::optional<instrument::Family> family;
  if (identification_.OddFamily()) {
    family = instrument::Family::kOdd;
  } else if (identification_.EvenFamily()) {
    family = instrument::Family::kEven;
  }
  if (!family) {
    Draw(10, 10, kWhoAmI);
    return;
  }
  identification_.DrawModelLine();
  LaunchScopeApplication(services_, *family, ram_drive, set);
}

StatusBox MainSequence::ShowNotice(std::string_view caption) {
  StatusBox box(services_.platform.desktop);
  box.Create();
  box.SetCaption(caption);
  return box;
}

void MainSequence::RebootAndPause() {
  if (services_.helpers.RequestReboot()) {
    Sleep(10000);
  } else {
    Draw(10, 50, kCannotReboot);
  }
}

void MainSequence::Show(ShowCommand command) {
  services_.platform.desktop.ShowWindow(main_window_.handle(), command);
}

}  // namespace qv::app
