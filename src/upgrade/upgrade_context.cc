#include "upgrade/upgrade_context.h"

#include <string>

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

int UpgradeContext::AttemptsBegun() {
  const std::optional<FailureMarker> marker = ReadFailureMarker(files());
  return marker ? marker->attempts : 0;
}

bool UpgradeContext::CreateFailureMarker() {
  return upgrade::CreateFailureMarker(files());
}

void UpgradeContext::RemoveFailureMarker() {
  upgrade::RemoveFailureMarker(files());
}

bool UpgradeContext::RemoveUpgradeHeader() {
  return upgrade::RemoveUpgradeHeader(files());
}

bool UpgradeContext::NewLoaderInPackage() {
  return upgrade::NewLoaderInPackage(files());
}

int UpgradeContext::PreloaderHandOver() {
  return static_cast<int>(upgrade::PreloaderHandOver(files(), /*retry=*/AttemptsBegun() > 1));
}

void UpgradeContext::CreateInstrumentFolders() {
  upgrade::CreateInstrumentFolders(files());
}

void UpgradeContext::ListStagedFolders() {
  // Only for the drive it leaves current, which the tree copy relies on.
  ListFolders(files(), kStagingRoot);
}

bool UpgradeContext::TreeCopy(bool backup) {
  Backup step = Backup::kNone;
  if (backup) {
    const std::optional<FailureMarker> marker = ReadFailureMarker(files());
    // An earlier attempt may have installed cal and setups files already:
    // what it saved of them is the only copy of the owner's.
    if (marker && marker->backup_saved) {
      step = Backup::kSaved;
    } else {
      step = marker && marker->attempts > 1 ? Backup::kComplete : Backup::kSave;
    }
  }
  return upgrade::TreeCopy(services_, log_).Run(step);
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

void UpgradeContext::LogAttempt(int attempt) {
  log_.WriteText("Attempt " + std::to_string(attempt) + " of " +
                 std::to_string(app::kUpgradeAttempts) + "\n");
}

void UpgradeContext::LogAbandoned() {
  log_.WriteText("Abandoned after " + std::to_string(app::kUpgradeAttempts) + " attempts\n");
}

void UpgradeContext::LogClosingLine() {
  log_.WriteClosingLine();
}

void UpgradeContext::LogFailedLine() {
  log_.WriteFailedLine();
}

}  // namespace qv::upgrade
