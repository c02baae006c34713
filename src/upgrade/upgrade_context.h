// The upgrade context: the loader's side of an upgrade package for one run
// of the main sequence. Making it makes C: current and the staging folder
// current there, and reads the upgrade header once: whether an upgrade is
// pending does not change during the run, even when the header is deleted.
// It holds the header, the upgrade log and the expansion's progress text,
// and offers the upgrade's steps, which the main sequence calls in its
// fixed order.
#pragma once

#include "app/subsystems.h"
#include "upgrade/progress_text.h"
#include "upgrade/upgrade_header.h"
#include "upgrade/upgrade_log.h"

namespace qv::upgrade {

class UpgradeContext final : public app::UpgradeContext {
 public:
  // The services must outlive the context.
  explicit UpgradeContext(const app::Services& services);

  bool UpgradePending() override { return header_.pending(); }
  bool FailureMarkerExists() override;
  int AttemptsBegun() override;
  bool CreateFailureMarker() override;
  void RemoveFailureMarker() override;
  bool RemoveUpgradeHeader() override;
  bool NewLoaderInPackage() override;
  int PreloaderHandOver() override;
  void CreateInstrumentFolders() override;
  void ListStagedFolders() override;
  bool TreeCopy(bool backup) override;
  void ClearStagingTree() override;
  void ClearBackupTree() override;
  void CreateUndoMarker() override;
  int ExpandUpgradeArchive() override;
  void LogOpeningLines() override;
  void LogAttempt(int attempt) override;
  void LogAbandoned() override;
  void LogClosingLine() override;
  void LogFailedLine() override;

  const UpgradeHeader& header() const { return header_; }

 private:
  platform::Files& files() { return services_.platform.files; }

  const app::Services& services_;
  UpgradeHeader header_;
  UpgradeLog log_;
  ProgressText progress_;
};

}  // namespace qv::upgrade
