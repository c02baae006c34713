// One walk through the Registry and System ports that prints what each step
// did, run on the simulated instrument and, as system_port_check.exe, on
// Windows under Wine. The program is started with the arguments
// "/autostart /usb".
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"

namespace qv::wine_test {

std::vector<std::string> SystemPortChecks(platform::Registry& registry, platform::System& system);

}  // namespace qv::wine_test
