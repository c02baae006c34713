#include "upgrade/upgrade_context.h"

#include "upgrade/expansion.h"
#include "upgrade/folder_list.h"
#include "upgrade/instrument_folders.h"
#include "upgrade/package_files.h"
#include "upgrade/package_names.h"
#include "upgrade/tree_copy.h"

namespace qv::upgrade {

UpgradeContext::UpgradeContext(const app::Services& services)
    : services_(services), log_(services.platform.files, services.platform.system) {
  files().ChangeDrive('C');
  // Without the staging folder the header is looked for where C: stands.
  EnterStagingFolder(files());
  header_ = ReadUpgradeHeader(files());
}

bool UpgradeContext::FailureMarkerExists() {
  return upgrade::FailureMarkerExists(files());
}

void UpgradeContext::CreateFailureMarker() {
  upgrade::CreateFailureMarker(files());
}

void UpgradeContext::RemoveFailureMarker() {
  upgrade::RemoveFailureMarker(files());
}

void UpgradeContext::RemoveUpgradeHeader() {
  upgrade::RemoveUpgradeHeader(files());
}

bool UpgradeContext::NewLoaderInPackage() {
  return upgrade::NewLoaderInPackage(files());
}

int UpgradeContext::PreloaderHandOver() {
  return static_cast<int>(upgrade::PreloaderHandOver(files()));
}

void UpgradeContext::CreateInstrumentFolders() {
  upgrade::CreateInstrumentFolders(files());
}

void UpgradeContext::ListStagedFolders() {
  // Only for the drive it leaves current, which the tree copy relies on.
  ListFolders(files(), kStagingRoot);
}

void UpgradeContext::TreeCopy(bool backup) {
  upgrade::TreeCopy(services_, log_).Run(backup);
}

void UpgradeContext::ClearStagingTree() {
  ClearTree(files(), kStagingRoot);
}

void UpgradeContext::ClearBackupTree() {
  ClearTree(files(), kBackupRoot);
}

void UpgradeContext::CreateUndoMarker() {
  upgrade::CreateUndoMarker(files());
}

int UpgradeContext::ExpandUpgradeArchive() {
  if (!header_.pending()) return 0;
  const std::string path = std::string(kStagingTempFolder) + header_.archive_name();
  files().ChangeFolder("c:\\scope\\upgrade\\");
  const ExpansionResult expansion = ExpandArchive(services_, progress_, path);
  // A package that did not expand whole says why in the log.
  if (expansion.result != 1) log_.WriteText(expansion.failure);
  return expansion.result;
}

void UpgradeContext::LogOpeningLines() {
  log_.WriteOpeningLines(header_);
}

void UpgradeContext::LogClosingLine() {
  log_.WriteClosingLine();
}

void UpgradeContext::LogFailedLine() {
  log_.WriteFailedLine();
}

}  // namespace qv::upgrade
