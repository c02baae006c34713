#include "loader/loader.h"

#include "detector/detector.h"
#include "instrument/code_pages_and_lan.h"
#include "instrument/display_and_startup.h"
#include "instrument/marker_files.h"
#include "instrument/ram_drive.h"
#include "upgrade/upgrade_context.h"

namespace qv::loader {

app::Subsystems BuildSubsystems(const app::Services& services) {
  app::Subsystems parts;
  parts.create_upgrade_context = [&services]() -> std::unique_ptr<app::UpgradeContext> {
    return std::make_unique<upgrade::UpgradeContext>(services);
  };
  parts.detector = std::make_unique<detector::Detector>(services);
  parts.ram_drive = std::make_unique<instrument::RamDrive>(services);
  parts.markers = std::make_unique<instrument::Markers>(services);
  parts.code_pages_and_lan = std::make_unique<instrument::CodePagesAndLan>(services);
  parts.display_and_startup = std::make_unique<instrument::DisplayAndStartup>(services);
  return parts;
}

int RunLoader(platform::Platform platform) {
  app::Application application(platform, BuildSubsystems);
  return application.Run();
}

}  // namespace qv::loader
