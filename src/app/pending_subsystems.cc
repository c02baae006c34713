#include "app/pending_subsystems.h"

namespace qv::app {

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
