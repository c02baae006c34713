// The operations of the loader's other parts that the main sequence calls,
// one small interface per part, and what a part is given to do its work.
// Results are those the main sequence relies on; an operation whose result
// it ignores returns nothing here.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "app/process_state.h"
#include "app/user_helpers.h"
#include "platform/platform.h"

namespace qv::app {

// How many attempts an upgrade is given before it is abandoned: an attempt
// cut short by a power cut, or one that could not install every file.
inline constexpr int kUpgradeAttempts = 3;

// The upgrade package, its markers, the staging and backup trees, the tree
// copy, the upgrade log and the expansion. Created as the main sequence's
// first act (which reads the upgrade header once) and destroyed at its end.
class UpgradeContext {
 public:
  virtual ~UpgradeContext() = default;

  // The header read at creation had a pending field other than 0.
  virtual bool UpgradePending() = 0;
  virtual bool FailureMarkerExists() = 0;
  // The attempts the failure marker records (0 without a marker).
  virtual int AttemptsBegun() = 0;
  // Records the next attempt; false when the marker cannot be written.
  virtual bool CreateFailureMarker() = 0;
  virtual void RemoveFailureMarker() = 0;
  // True when the header is gone: only then may the failure marker go, or a
  // later boot would begin the installed upgrade afresh.
  virtual bool RemoveUpgradeHeader() = 0;
  // The expanded package brings a new loader.
  virtual bool NewLoaderInPackage() = 0;
  // 1: start the pre-loader; 0: a needed folder is missing; -1: no pre-loader.
  virtual int PreloaderHandOver() = 0;
  virtual void CreateInstrumentFolders() = 0;
  virtual void ListStagedFolders() = 0;
  // Installs the staging tree (saving cal and setups first with backup,
  // unless an earlier attempt saved them); sets the restart flag. True when
  // every file was installed.
  virtual bool TreeCopy(bool backup) = 0;
  virtual void ClearStagingTree() = 0;
  virtual void ClearBackupTree() = 0;
  virtual void CreateUndoMarker() = 0;
  // 1 expanded; 0 the archive check failed; negative: the library's
  // status when the archive did not open or a member failed. A failure is
  // written to the upgrade log with the library's message.
  virtual int ExpandUpgradeArchive() = 0;
  virtual void LogOpeningLines() = 0;
  // "Attempt 2 of 3": the attempt that begins again after an interrupted one.
  virtual void LogAttempt(int attempt) = 0;
  virtual void LogAbandoned() = 0;
  // The end line of an installed upgrade, and of one that was not.
  virtual void LogClosingLine() = 0;
  virtual void LogFailedLine() = 0;
};

// The interfering-program detector: its lists, the window scans with their
// choice dialogs, and the ignore list in the registry.
class Detector {
 public:
  virtual ~Detector() = default;

  // Empties the lists and the open-dialog table, clears the answered dialog.
  virtual void Reset() = 0;
  // True when the list was found in the registry.
  virtual bool LoadIgnoreList() = 0;
  virtual void MergeDefaults() = 0;
  virtual void ResetToDefaults() = 0;
  // True while some program must still be waited for.
  virtual bool WindowScan() = 0;
  virtual void CloseAllChoiceDialogs() = 0;
};

// The RAM drive d:\ (the memory check is the loader's own).
class RamDrive {
 public:
  virtual ~RamDrive() = default;

  // True when c:\config.sys lacked lines and got them: a reboot is needed.
  virtual bool SetUp() = 0;
  // Deletes everything below the folder.
  virtual void Empty(std::string_view folder) = 0;
  // Copies the scope application's libraries to d:\.
  virtual void CopyLibraries() = 0;
};

// The marker files on the floppy disk and the printer marker with the
// printer wizard.
class Markers {
 public:
  virtual ~Markers() = default;

  virtual bool ServiceMarkerValid() = 0;
  virtual bool InternalMarkerValid() = 0;
  virtual bool PrinterMarkerPresent() = 0;
  // True when the marker is gone: one that stays is not acted on, or it
  // would ask again (and reboot) at every boot.
  virtual bool DeletePrinterMarker() = 0;
  // True when the Add Printer wizard started.
  virtual bool LaunchAddPrinter() = 0;
};

// The East-Asian code pages and the LAN features request.
class CodePagesAndLan {
 public:
  virtual ~CodePagesAndLan() = default;

  virtual void RegisterCodePages() = 0;
  // True when the LAN request file was there (it is then deleted).
  virtual bool LanFeaturesCheck() = 0;
};

// The display mode and the system's start-up entries.
class DisplayAndStartup {
 public:
  virtual ~DisplayAndStartup() = default;

  virtual void CleanTemp(std::string_view folder) = 0;
  virtual void MasksFolder() = 0;
  // True when the list was read to its end (the caller then deletes it).
  virtual bool RenameList(std::string_view path) = 0;
  virtual void AutoexecEntry() = 0;
  // True when the screen shows more than 256 colours.
  virtual bool DisplayModeCheck() = 0;
  // The system's answer: 0 done, 1 restart needed, anything else failed.
  virtual int DisplayModeChange() = 0;
  // Registers a deferred installer; may set the restart flag.
  virtual void DeferredInstaller() = 0;
};

// What the loader gives its parts: the ports, the process's state and the
// user-facing helpers. All outlive the parts.
struct Services {
  platform::Platform platform;
  ProcessState& process;
  UserHelpers& helpers;
};

struct Subsystems {
  std::function<std::unique_ptr<UpgradeContext>()> create_upgrade_context;
  std::unique_ptr<Detector> detector;
  std::unique_ptr<RamDrive> ram_drive;
  std::unique_ptr<Markers> markers;
  std::unique_ptr<CodePagesAndLan> code_pages_and_lan;
  std::unique_ptr<DisplayAndStartup> display_and_startup;
};

}  // namespace qv::app
