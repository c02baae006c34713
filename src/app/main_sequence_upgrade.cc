// Step 16 of the main sequence: the upgrade, continued (copyfiles switch) or
// begun (an upgrade pending), each in its fixed order of steps.
#include "app/main_sequence.h"
#include "app/program_start.h"

namespace qv::app {
namespace {

using platform::ShowCommand;

constexpr std::string_view kContinuing = "Continuing System Upgrade ....                    ";
constexpr std::string_view kContinuedComplete = "System Upgrade Complete....                ";
constexpr std::string_view kBeginning = "Beginning System Upgrade ....                   ";
constexpr std::string_view kBegunComplete = "System Upgrade Complete....                         ";
constexpr std::string_view kBegunFailed = "System Upgrade Failed....                           ";
constexpr std::string_view kMissingPreloader = "Missing preldr.exe";

// Files that the probe definitions of a new revision replace.
constexpr const char* kProbeFiles[] = {"probedef.dat", "Smart0", "Smart1", "Smart2", "Smart3"};

}  // namespace

void MainSequence::UpgradeBranches(UpgradeContext& upgrade) {
  if (switches().copyfiles) {
    ContinuingUpgrade(upgrade);
  } else if (upgrade.UpgradePending()) {
    BeginningUpgrade(upgrade);
  }
}

void MainSequence::ContinuingUpgrade(UpgradeContext& upgrade) {
  Show(ShowCommand::kShowMaximized);
  services_.helpers.SetVideoBit(true);
  upgrade.CreateInstrumentFolders();
  ProbeFileCleanup();
  Draw(10, 10, kContinuing);
  Sleep(2000);
  upgrade.CreateFailureMarker();
  upgrade.ListStagedFolders();
  upgrade.LogOpeningLines();
  upgrade.TreeCopy(/*backup=*/true);
  parts_.display_and_startup->AutoexecEntry();
  upgrade.RemoveUpgradeHeader();
  upgrade.RemoveFailureMarker();
  upgrade.CreateUndoMarker();
  parts_.detector->MergeDefaults();
  parts_.code_pages_and_lan->RegisterCodePages();
  Draw(10, 10, kContinuedComplete);
  Sleep(2000);
}

void MainSequence::BeginningUpgrade(UpgradeContext& upgrade) {
  platform::Files& files = services_.platform.files;
  Show(ShowCommand::kShowMaximized);
  upgrade.CreateInstrumentFolders();
  // Without write permission first: a read-only definition file stays.
  if (files.ChangeFolder("c:\\scope\\probes")) files.Remove("probedef.dat");
  services_.helpers.SetVideoBit(true);
  Draw(10, 10, kBeginning);
  Sleep(2000);
  upgrade.CreateFailureMarker();
  upgrade.LogOpeningLines();
  upgrade.ClearStagingTree();
  upgrade.ClearBackupTree();
  if (upgrade.ExpandUpgradeArchive() != 1) {
    AbandonUpgrade(upgrade);
    return;
  }
  if (upgrade.NewLoaderInPackage()) {
    if (upgrade.PreloaderHandOver() != 1) {
      services_.helpers.WarningBox(kMissingPreloader);
      return;
    }
    services_.platform.desktop.DestroyWindow(main_window_.handle());
    std::vector<std::string_view> arguments{"preldr.exe"};
    if (switches().clearundo) arguments.push_back("/clearundo");
    StartProgram(services_.platform.system, "\\scope\\bin\\preldr.exe", arguments);
    return;  // not started: the sequence goes on with the LAN features
  }
  upgrade.CreateInstrumentFolders();
  ProbeFileCleanup();
  upgrade.ListStagedFolders();
  upgrade.TreeCopy(/*backup=*/true);
  parts_.display_and_startup->AutoexecEntry();
  upgrade.LogClosingLine();
  upgrade.RemoveUpgradeHeader();
  upgrade.RemoveFailureMarker();
  upgrade.CreateUndoMarker();
  Draw(10, 10, kBegunComplete);
  Sleep(2000);
}

// A package that did not expand whole is never installed, neither by this
// boot nor by the next: its header goes, and the installed revision runs on.
void MainSequence::AbandonUpgrade(UpgradeContext& upgrade) {
  upgrade.LogFailedLine();
  upgrade.RemoveUpgradeHeader();
  upgrade.RemoveFailureMarker();
  Draw(10, 10, kBegunFailed);
  Sleep(2000);
}

void MainSequence::ProbeFileCleanup() {
  platform::Files& files = services_.platform.files;
  const auto remove = [&files](const char* name) {
    files.SetWritable(name, true);
    files.Remove(name);
  };
  if (files.ChangeFolder("c:\\scope\\probes")) {
    for (const char* name : kProbeFiles)
      remove(name);
  }
  if (files.ChangeFolder("c:\\scope\\cal")) remove("probecal.dat");
}

}  // namespace qv::app
