#include "app/loader.h"

#include "app/pending_subsystems.h"

namespace qv::app {

Subsystems BuildSubsystems(const Services& /*services*/, MissingSteps& missing) {
  return PendingSubsystems(missing);
}

int RunLoader(platform::Platform platform) {
  MissingSteps missing;
  Application application(platform, [&missing](const Services& services) {
    return BuildSubsystems(services, missing);
  });
  return application.Run();
}

}  // namespace qv::app
