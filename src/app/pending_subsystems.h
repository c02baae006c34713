// Stand-ins for the parts of the loader that are not built yet: each
// operation does nothing, gives the neutral result (no upgrade pending, no
// marker, nothing to wait for, more than 256 colours) and notes its name in
// MissingSteps. A part that lands replaces its stand-in in BuildSubsystems.
#pragma once

#include "app/missing_steps.h"
#include "app/subsystems.h"

namespace qv::app {

class PendingUpgradeContext final : public UpgradeContext {
 public:
  explicit PendingUpgradeContext(MissingSteps& missing) : missing_(missing) {}

  bool UpgradePending() override;
  bool FailureMarkerExists() override;
  void CreateFailureMarker() override;
  void RemoveFailureMarker() override;
  void RemoveUpgradeHeader() override;
  bool NewLoaderInPackage() override;
  int PreloaderHandOver() override;
  void CreateInstrumentFolders() override;
  void ListStagedFolders() override;
  void TreeCopy(bool backup) override;
  void ClearStagingTree() override;
  void ClearBackupTree() override;
  void CreateUndoMarker() override;
  int ExpandUpgradeArchive() override;
  void LogOpeningLines() override;
  void LogClosingLine() override;

 private:
  MissingSteps& missing_;
};

class PendingDetector final : public Detector {
 public:
  explicit PendingDetector(MissingSteps& missing) : missing_(missing) {}

  void Reset() override;
  bool LoadIgnoreList() override;
  void MergeDefaults() override;
  void ResetToDefaults() override;
  bool WindowScan() override;
  void CloseAllChoiceDialogs() override;

 private:
  MissingSteps& missing_;
};

class PendingRamDrive final : public RamDrive {
 public:
  explicit PendingRamDrive(MissingSteps& missing) : missing_(missing) {}

  bool SetUp() override;
  void Empty(std::string_view folder) override;
  void CopyLibraries() override;

 private:
  MissingSteps& missing_;
};

class PendingMarkers final : public Markers {
 public:
  explicit PendingMarkers(MissingSteps& missing) : missing_(missing) {}

  bool ServiceMarkerValid() override;
  bool InternalMarkerValid() override;
  bool PrinterMarkerPresent() override;
  void DeletePrinterMarker() override;
  bool LaunchAddPrinter() override;

 private:
  MissingSteps& missing_;
};

class PendingCodePagesAndLan final : public CodePagesAndLan {
 public:
  explicit PendingCodePagesAndLan(MissingSteps& missing) : missing_(missing) {}

  void RegisterCodePages() override;
  bool LanFeaturesCheck() override;

 private:
  MissingSteps& missing_;
};

class PendingDisplayAndStartup final : public DisplayAndStartup {
 public:
  explicit PendingDisplayAndStartup(MissingSteps& missing) : missing_(missing) {}

  void CleanTemp(std::string_view folder) override;
  void MasksFolder() override;
  bool RenameList(std::string_view path) override;
  void AutoexecEntry() override;
  bool DisplayModeCheck() override;
  int DisplayModeChange() override;
  void DeferredInstaller() override;

 private:
  MissingSteps& missing_;
};

// Every part as a stand-in.
Subsystems PendingSubsystems(MissingSteps& missing);

}  // namespace qv::app
