#include "app/pending_subsystems.h"

namespace qv::app {

bool PendingUpgradeContext::UpgradePending() {
  missing_.Note("upgrade pending");
  return false;
}
bool PendingUpgradeContext::FailureMarkerExists() {
  missing_.Note("failure marker test");
  return false;
}
void PendingUpgradeContext::CreateFailureMarker() {
  missing_.Note("create failure marker");
}
void PendingUpgradeContext::RemoveFailureMarker() {
  missing_.Note("remove failure marker");
}
void PendingUpgradeContext::RemoveUpgradeHeader() {
  missing_.Note("remove upgrade header");
}
bool PendingUpgradeContext::NewLoaderInPackage() {
  missing_.Note("new-loader test");
  return false;
}
int PendingUpgradeContext::PreloaderHandOver() {
  missing_.Note("pre-loader hand-over");
  return 0;
}
void PendingUpgradeContext::CreateInstrumentFolders() {
  missing_.Note("create instrument folders");
}
void PendingUpgradeContext::ListStagedFolders() {
  missing_.Note("list staged folders");
}
void PendingUpgradeContext::TreeCopy(bool /*backup*/) {
  missing_.Note("tree copy");
}
void PendingUpgradeContext::ClearStagingTree() {
  missing_.Note("clear staging tree");
}
void PendingUpgradeContext::ClearBackupTree() {
  missing_.Note("clear backup tree");
}
void PendingUpgradeContext::CreateUndoMarker() {
  missing_.Note("create undo marker");
}
int PendingUpgradeContext::ExpandUpgradeArchive() {
  missing_.Note("expand upgrade archive");
  return 0;
}
void PendingUpgradeContext::LogOpeningLines() {
  missing_.Note("upgrade log opening lines");
}
void PendingUpgradeContext::LogClosingLine() {
  missing_.Note("upgrade log closing line");
}

void PendingDetector::Reset() {
  missing_.Note("reset detector state");
}
bool PendingDetector::LoadIgnoreList() {
  missing_.Note("load ignore list");
  return false;
}
void PendingDetector::MergeDefaults() {
  missing_.Note("merge defaults");
}
void PendingDetector::ResetToDefaults() {
  missing_.Note("reset to defaults");
}
bool PendingDetector::WindowScan() {
  missing_.Note("window scan");
  return false;
}
void PendingDetector::CloseAllChoiceDialogs() {
  missing_.Note("close all choice dialogs");
}

bool PendingRamDrive::SetUp() {
  missing_.Note("RAM-drive set-up");
  return false;
}
void PendingRamDrive::Empty(std::string_view /*folder*/) {
  missing_.Note("RAM-drive emptying");
}
void PendingRamDrive::CopyLibraries() {
  missing_.Note("DLL copy");
}

bool PendingMarkers::ServiceMarkerValid() {
  missing_.Note("service marker");
  return false;
}
bool PendingMarkers::InternalMarkerValid() {
  missing_.Note("internal marker");
  return false;
}
bool PendingMarkers::PrinterMarkerPresent() {
  missing_.Note("printer marker");
  return false;
}
void PendingMarkers::DeletePrinterMarker() {
  missing_.Note("delete printer marker");
}
bool PendingMarkers::LaunchAddPrinter() {
  missing_.Note("add-printer launch");
  return false;
}

void PendingCodePagesAndLan::RegisterCodePages() {
  missing_.Note("code pages");
}
bool PendingCodePagesAndLan::LanFeaturesCheck() {
  missing_.Note("LAN features check");
  return false;
}

void PendingDisplayAndStartup::CleanTemp(std::string_view /*folder*/) {
  missing_.Note("temp cleaning");
}
void PendingDisplayAndStartup::MasksFolder() {
  missing_.Note("masks folder step");
}
bool PendingDisplayAndStartup::RenameList(std::string_view /*path*/) {
  missing_.Note("rename list");
  return false;
}
void PendingDisplayAndStartup::AutoexecEntry() {
  missing_.Note("autoexec.bat entry");
}
bool PendingDisplayAndStartup::DisplayModeCheck() {
  missing_.Note("display-mode check");
  return true;
}
int PendingDisplayAndStartup::DisplayModeChange() {
  missing_.Note("display-mode change");
  return 0;
}
void PendingDisplayAndStartup::DeferredInstaller() {
  missing_.Note("deferred installer");
}

Subsystems PendingSubsystems(MissingSteps& missing) {
  Subsystems parts;
  parts.create_upgrade_context = [&missing]() -> std::unique_ptr<UpgradeContext> {
    missing.Note("upgrade context creation");
    return std::make_unique<PendingUpgradeContext>(missing);
  };
  parts.detector = std::make_unique<PendingDetector>(missing);
  parts.ram_drive = std::make_unique<PendingRamDrive>(missing);
  parts.markers = std::make_unique<PendingMarkers>(missing);
  parts.code_pages_and_lan = std::make_unique<PendingCodePagesAndLan>(missing);
  parts.display_and_startup = std::make_unique<PendingDisplayAndStartup>(missing);
  return parts;
}

}  // namespace qv::app
