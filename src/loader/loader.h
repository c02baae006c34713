// The composition root: the loader as this build has it, the application
// with all its parts. It sits above app, instrument, upgrade and detector,
// so that none of them includes another to be put together; the simulator's
// boots and the Windows program both start the loader here.
#pragma once

#include "app/application.h"

namespace qv::loader {

// The parts the main sequence calls, working on the ports of `services`.
app::Subsystems BuildSubsystems(const app::Services& services);

// Runs the loader's process on the ports; its exit code when it returns.
int RunLoader(platform::Platform platform);

}  // namespace qv::loader
