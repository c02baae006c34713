#include "app/loader.h"

#include "app/pending_subsystems.h"
#include "instrument/code_pages_and_lan.h"
#include "instrument/display_and_startup.h"
#include "instrument/marker_files.h"
#include "instrument/ram_drive.h"
#include "upgrade/upgrade_context.h"

namespace qv::app {

Subsystems BuildSubsystems(const Services& services, MissingSteps& missing) {
  Subsystems parts = PendingSubsystems(missing);
  parts.create_upgrade_context = [&services]() -> std::unique_ptr<UpgradeContext> {
    return std::make_unique<upgrade::UpgradeContext>(services);
  };
  parts.ram_drive = std::make_unique<instrument::RamDrive>(services);
  parts.markers = std::make_unique<instrument::Markers>(services);
  parts.code_pages_and_lan = std::make_unique<instrument::CodePagesAndLan>(services);
  parts.display_and_startup = std::make_unique<instrument::DisplayAndStartup>(services);
  return parts;
}

int RunLoader(platform::Platform platform) {
  MissingSteps missing;
  Application application(platform, [&missing](const Services& services) {
    return BuildSubsystems(services, missing);
  });
  return application.Run();
}

}  // namespace qv::app
