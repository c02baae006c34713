// The loader as this build has it: the application with its parts, those
// not yet built standing in as pending_subsystems.h says.
#pragma once

#include "app/application.h"
#include "app/missing_steps.h"

namespace qv::app {

// The parts of this build. Parts that land take their place here.
Subsystems BuildSubsystems(const Services& services, MissingSteps& missing);

// Runs the loader's process on the ports; its exit code when it returns.
int RunLoader(platform::Platform platform);

}  // namespace qv::app
