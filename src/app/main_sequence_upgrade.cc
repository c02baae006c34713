// Step 16 of the main sequence: the upgrade, continued (copyfiles switch) or
// begun (an upgrade pending), each in its fixed order of steps.
#include "app/main_sequence.h"
#include "app/program_start.h"

namespace qv::app {
namespace {

using platform::ShowCommand;

constexpr std::string_view kContinuing = "Continuing System Upgrade ....                    ";
constexpr std::string_view kContinuedComplete = "System Upgrade Complete....                ";
constexpr std::string_view kContinuedFailed = "System Upgrade Failed....                  ";
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
  const bool marked = upgrade.CreateFailureMarker();
  upgrade.ListStagedFolders();
  upgrade.LogOpeningLines();
  // Without its marker a cut copy would look finished at the next boot.
  const bool installed = marked && upgrade.TreeCopy(/*backup=*/true);
  parts_.display_and_startup->AutoexecEntry();
  if (!installed) {
    // Header and marker stay: the next boot begins the upgrade again.
    Draw(10, 10, kContinuedFailed);
    Sleep(2000);
    return;
  }
  // The undo marker before the header goes: a cut in between repeats the
  // install, never skips the marker.
  upgrade.CreateUndoMarker();
  if (upgrade.RemoveUpgradeHeader()) upgrade.RemoveFailureMarker();
  parts_.detector->MergeDefaults();
  parts_.code_pages_and_lan->RegisterCodePages();
  Draw(10, 10, kContinuedComplete);
  Sleep(2000);
}

void MainSequence::BeginningUpgrade(UpgradeContext& upgrade) {
  platform::Files& files = services_.platform.files;
  const int begun = upgrade.AttemptsBegun();
  Show(ShowCommand::kShowMaximized);
  upgrade.CreateInstrumentFolders();
  // Without write permission first: a read-only definition file stays.
  if (files.ChangeFolder("c:\\scope\\probes")) files.Remove("probedef.dat");
  services_.helpers.SetVideoBit(true);
  Draw(10, 10, kBeginning);
  Sleep(2000);
  if (begun >= kUpgradeAttempts) {
    upgrade.LogOpeningLines();
    upgrade.LogAbandoned();
    AbandonUpgrade(upgrade);
    return;
  }
  // Only the first attempt clears the backup tree, and before its marker
  // exists: from then on the tree holds this upgrade's backup alone.
  if (begun == 0) upgrade.ClearBackupTree();
  if (!upgrade.CreateFailureMarker()) {
    // An install that a cut could leave unmarked is not begun; the header
    // stays for the next boot.
    upgrade.LogOpeningLines();
    upgrade.LogFailedLine();
    Draw(10, 10, kBegunFailed);
    Sleep(2000);
    return;
  }
  const int attempt = begun + 1;
  upgrade.LogOpeningLines();
  if (attempt > 1) upgrade.LogAttempt(attempt);
  upgrade.ClearStagingTree();
  if (upgrade.ExpandUpgradeArchive() != 1) {
    // A package that never expanded is abandoned at once; after an
    // interrupted attempt, part of it is installed and it is tried again.
    if (attempt == 1) {
      AbandonUpgrade(upgrade);
    } else {
      FailedAttempt(upgrade, attempt);
    }
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
  if (!InstallUpgrade(upgrade)) {
    FailedAttempt(upgrade, attempt);
    return;
  }
  Draw(10, 10, kBegunComplete);
  Sleep(2000);
}

bool MainSequence::InstallUpgrade(UpgradeContext& upgrade) {
  upgrade.CreateInstrumentFolders();
  ProbeFileCleanup();
  upgrade.ListStagedFolders();
  const bool installed = upgrade.TreeCopy(/*backup=*/true);
  parts_.display_and_startup->AutoexecEntry();
  if (!installed) return false;
  upgrade.LogClosingLine();
  // The undo marker before the header goes, the header before the failure
  // marker: a cut anywhere in between makes the next boot repeat the
  // install or clear the marker, never lose either.
  upgrade.CreateUndoMarker();
  if (upgrade.RemoveUpgradeHeader()) upgrade.RemoveFailureMarker();
  return true;
}

// A package that did not expand whole is never installed, neither by this
// boot nor by the next: its header goes, and the installed revision runs on.
void MainSequence::AbandonUpgrade(UpgradeContext& upgrade) {
  upgrade.LogFailedLine();
  if (upgrade.RemoveUpgradeHeader()) upgrade.RemoveFailureMarker();
  services_.process.restart = false;
  Draw(10, 10, kBegunFailed);
  Sleep(2000);
}

void MainSequence::FailedAttempt(UpgradeContext& upgrade, int attempt) {
  if (attempt >= kUpgradeAttempts) {
    upgrade.LogAbandoned();
    AbandonUpgrade(upgrade);
    return;
  }
  upgrade.LogFailedLine();
  // The restart brings the next attempt at once.
  services_.process.restart = true;
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
