// The loader as this build has it: the application with all its parts.
#pragma once

#include "app/application.h"

namespace qv::app {

// The parts the main sequence calls, working on the ports of `services`.
Subsystems BuildSubsystems(const Services& services);

// Runs the loader's process on the ports; its exit code when it returns.
int RunLoader(platform::Platform platform);

}  // namespace qv::app
