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

  bool UpgradePending() override { return missing_.Note("upgrade pending", false); }
  bool FailureMarkerExists() override { return missing_.Note("failure marker test", false); }
  void CreateFailureMarker() override { missing_.Note("create failure marker"); }
  void RemoveFailureMarker() override { missing_.Note("remove failure marker"); }
  void RemoveUpgradeHeader() override { missing_.Note("remove upgrade header"); }
  bool NewLoaderInPackage() override { return missing_.Note("new-loader test", false); }
  int PreloaderHandOver() override { return missing_.Note("pre-loader hand-over", 0); }
  void CreateInstrumentFolders() override { missing_.Note("create instrument folders"); }
  void ListStagedFolders() override { missing_.Note("list staged folders"); }
  void TreeCopy(bool /*backup*/) override { missing_.Note("tree copy"); }
  void ClearStagingTree() override { missing_.Note("clear staging tree"); }
  void ClearBackupTree() override { missing_.Note("clear backup tree"); }
  void CreateUndoMarker() override { missing_.Note("create undo marker"); }
  int ExpandUpgradeArchive() override { return missing_.Note("expand upgrade archive", 0); }
  void LogOpeningLines() override { missing_.Note("upgrade log opening lines"); }
  void LogClosingLine() override { missing_.Note("upgrade log closing line"); }
  void LogFailedLine() override { missing_.Note("upgrade log failed line"); }

 private:
  MissingSteps& missing_;
};

class PendingDetector final : public Detector {
 public:
  explicit PendingDetector(MissingSteps& missing) : missing_(missing) {}

  void Reset() override { missing_.Note("reset detector state"); }
  bool LoadIgnoreList() override { return missing_.Note("load ignore list", false); }
  void MergeDefaults() override { missing_.Note("merge defaults"); }
  void ResetToDefaults() override { missing_.Note("reset to defaults"); }
  bool WindowScan() override { return missing_.Note("window scan", false); }
  void CloseAllChoiceDialogs() override { missing_.Note("close all choice dialogs"); }

 private:
  MissingSteps& missing_;
};

class PendingRamDrive final : public RamDrive {
 public:
  explicit PendingRamDrive(MissingSteps& missing) : missing_(missing) {}

  bool SetUp() override { return missing_.Note("RAM-drive set-up", false); }
  void Empty(std::string_view /*folder*/) override { missing_.Note("RAM-drive emptying"); }
  void CopyLibraries() override { missing_.Note("DLL copy"); }

 private:
  MissingSteps& missing_;
};

class PendingMarkers final : public Markers {
 public:
  explicit PendingMarkers(MissingSteps& missing) : missing_(missing) {}

  bool ServiceMarkerValid() override { return missing_.Note("service marker", false); }
  bool InternalMarkerValid() override { return missing_.Note("internal marker", false); }
  bool PrinterMarkerPresent() override { return missing_.Note("printer marker", false); }
  void DeletePrinterMarker() override { missing_.Note("delete printer marker"); }
  bool LaunchAddPrinter() override { return missing_.Note("add-printer launch", false); }

 private:
  MissingSteps& missing_;
};

class PendingCodePagesAndLan final : public CodePagesAndLan {
 public:
  explicit PendingCodePagesAndLan(MissingSteps& missing) : missing_(missing) {}

  void RegisterCodePages() override { missing_.Note("code pages"); }
  bool LanFeaturesCheck() override { return missing_.Note("LAN features check", false); }

 private:
  MissingSteps& missing_;
};

class PendingDisplayAndStartup final : public DisplayAndStartup {
 public:
  explicit PendingDisplayAndStartup(MissingSteps& missing) : missing_(missing) {}

  void CleanTemp(std::string_view /*folder*/) override { missing_.Note("temp cleaning"); }
  void MasksFolder() override { missing_.Note("masks folder step"); }
  bool RenameList(std::string_view /*path*/) override {
    return missing_.Note("rename list", false);
  }
  void AutoexecEntry() override { missing_.Note("autoexec.bat entry"); }
  bool DisplayModeCheck() override { return missing_.Note("display-mode check", true); }
  int DisplayModeChange() override { return missing_.Note("display-mode change", 0); }
  void DeferredInstaller() override { missing_.Note("deferred installer"); }

 private:
  MissingSteps& missing_;
};

// Every part as a stand-in.
Subsystems PendingSubsystems(MissingSteps& missing);

}  // namespace qv::app
