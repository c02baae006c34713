// The interfering-program detector as the main sequence sees it: the skip
// list shared by the ignore list and the window scan, the ignore list in
// the registry, and the scans with their choice dialogs. Everything lives
// as long as the object: one per run of the loader.
#pragma once

#include "app/subsystems.h"
#include "detector/ignore_list.h"
#include "detector/window_scanner.h"

namespace qv::detector {

class Detector final : public app::Detector {
 public:
  // The services must outlive the detector.
  explicit Detector(const app::Services& services)
      : ignore_list_(services.platform.registry, services.helpers, skip_),
        scanner_(services.platform, ignore_list_, skip_) {}

  void Reset() override;
  bool LoadIgnoreList() override { return ignore_list_.Load(); }
  void MergeDefaults() override { ignore_list_.MergeDefaults(); }
  void ResetToDefaults() override { ignore_list_.ResetToDefaults(); }
  bool WindowScan() override { return scanner_.Scan(); }
  void CloseAllChoiceDialogs() override { scanner_.CloseAllChoiceDialogs(); }

 private:
  // Names not asked about in this run: the ignore list's and those
  // answered with "Ignore always" or "Ignore this time".
  NameList skip_;
  IgnoreList ignore_list_;
  WindowScanner scanner_;
};

}  // namespace qv::detector
