#include "tests/recording_parts.h"

namespace qv::tests {
namespace {

class Recorder {
 public:
  explicit Recorder(RecordingScript& script) : script_(script) {}

 protected:
  bool Ask(std::string_view operation, bool neutral = false) {
    return script_.Call(operation, neutral) != 0;
  }
  void Tell(std::string_view operation) { script_.Call(operation, 0); }

  RecordingScript& script_;
};

class RecordingUpgrade final : public app::UpgradeContext, Recorder {
 public:
  RecordingUpgrade(RecordingScript& script, app::ProcessState& process)
      : Recorder(script), process_(process) {}

  bool UpgradePending() override { return Ask("upgrade pending"); }
  bool FailureMarkerExists() override { return Ask("failure marker test"); }
  int AttemptsBegun() override { return script_.Call("attempts begun", 0); }
  bool CreateFailureMarker() override { return Ask("create failure marker", true); }
  void RemoveFailureMarker() override { Tell("remove failure marker"); }
  bool RemoveUpgradeHeader() override { return Ask("remove upgrade header", true); }
  bool NewLoaderInPackage() override { return Ask("new-loader test"); }
  int PreloaderHandOver() override { return script_.Call("pre-loader hand-over", 0); }
  void CreateInstrumentFolders() override { Tell("create instrument folders"); }
  void ListStagedFolders() override { Tell("list staged folders"); }
  bool TreeCopy(bool backup) override {
    process_.restart = true;
    return Ask(backup ? "tree copy with backup" : "tree copy", true);
  }
  void ClearStagingTree() override { Tell("clear staging tree"); }
  void ClearBackupTree() override { Tell("clear backup tree"); }
  void CreateUndoMarker() override { Tell("create undo marker"); }
  int ExpandUpgradeArchive() override { return script_.Call("expand upgrade archive", 1); }
  void LogOpeningLines() override { Tell("upgrade log opening lines"); }
  void LogAttempt(int attempt) override { Tell("upgrade log attempt " + std::to_string(attempt)); }
  void LogAbandoned() override { Tell("upgrade log abandoned"); }
  void LogClosingLine() override { Tell("upgrade log closing line"); }
  void LogFailedLine() override { Tell("upgrade log failed line"); }

 private:
  app::ProcessState& process_;
};

class RecordingDetector final : public app::Detector, Recorder {
 public:
  using Recorder::Recorder;
  void Reset() override { Tell("reset detector state"); }
  bool LoadIgnoreList() override { return Ask("load ignore list"); }
  void MergeDefaults() override { Tell("merge defaults"); }
  void ResetToDefaults() override { Tell("reset to defaults"); }
  bool WindowScan() override { return Ask("window scan"); }
  void CloseAllChoiceDialogs() override { Tell("close all choice dialogs"); }
};

class RecordingRamDrive final : public app::RamDrive, Recorder {
 public:
  using Recorder::Recorder;
  bool SetUp() override { return Ask("RAM-drive set-up"); }
  void Empty(std::string_view folder) override {
    Tell("RAM-drive emptying " + std::string(folder));
  }
  void CopyLibraries() override { Tell("DLL copy"); }
};

class RecordingMarkers final : public app::Markers, Recorder {
 public:
  using Recorder::Recorder;
  bool ServiceMarkerValid() override { return Ask("service marker"); }
  bool InternalMarkerValid() override { return Ask("internal marker"); }
  bool PrinterMarkerPresent() override { return Ask("printer marker"); }
  bool DeletePrinterMarker() override { return Ask("delete printer marker", true); }
  bool LaunchAddPrinter() override { return Ask("add-printer launch"); }
};

class RecordingCodePagesAndLan final : public app::CodePagesAndLan, Recorder {
 public:
  using Recorder::Recorder;
  void RegisterCodePages() override { Tell("code pages"); }
  bool LanFeaturesCheck() override { return Ask("LAN features check"); }
};

class RecordingDisplayAndStartup final : public app::DisplayAndStartup, Recorder {
 public:
  RecordingDisplayAndStartup(RecordingScript& script, app::ProcessState& process)
      : Recorder(script), process_(process) {}
  void CleanTemp(std::string_view folder) override { Tell("temp cleaning " + std::string(folder)); }
  void MasksFolder() override { Tell("masks folder step"); }
  bool RenameList(std::string_view path) override {
    return Ask("rename list " + std::string(path));
  }
  void AutoexecEntry() override { Tell("autoexec.bat entry"); }
  bool DisplayModeCheck() override { return Ask("display-mode check", true); }
  int DisplayModeChange() override { return script_.Call("display-mode change", 0); }
  void DeferredInstaller() override {
    if (Ask("deferred installer")) process_.restart = true;
  }

 private:
  app::ProcessState& process_;
};

}  // namespace

void RecordingScript::Answer(const std::string& operation, std::vector<int> results) {
  results_[operation] = std::deque<int>(results.begin(), results.end());
}

int RecordingScript::Call(std::string_view operation, int neutral) {
  if (journal != nullptr) journal->Record("call", {{"name", operation}});
  const auto found = results_.find(operation);
  if (found == results_.end() || found->second.empty()) return neutral;
  const int result = found->second.front();
  if (found->second.size() > 1) found->second.pop_front();
  return result;
}

app::Subsystems RecordingSubsystems(RecordingScript& script, const app::Services& services) {
  app::Subsystems parts;
  parts.create_upgrade_context = [&script, &services]() -> std::unique_ptr<app::UpgradeContext> {
    script.Call("upgrade context creation", 0);
    return std::make_unique<RecordingUpgrade>(script, services.process);
  };
  parts.detector = std::make_unique<RecordingDetector>(script);
  parts.ram_drive = std::make_unique<RecordingRamDrive>(script);
  parts.markers = std::make_unique<RecordingMarkers>(script);
  parts.code_pages_and_lan = std::make_unique<RecordingCodePagesAndLan>(script);
  parts.display_and_startup =
      std::make_unique<RecordingDisplayAndStartup>(script, services.process);
  return parts;
}

void UseRecordingParts(Scenario& scenario, RecordingScript& script) {
  scenario.change_parts = [&scenario, &script](app::Subsystems& parts,
                                               const app::Services& services) {
    script.journal = &scenario.machine().machine().journal();
    parts = RecordingSubsystems(script, services);
  };
}

}  // namespace qv::tests
