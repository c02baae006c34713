// The loader's normal end: the scope application of the instrument's
// family, started from c:\scope\bin or from a fresh copy on the RAM drive,
// with the arguments "scope", "/scope", "/qvib" and the switch set as one
// more argument when there is one.
#pragma once

#include <optional>
#include <string>

#include "app/subsystems.h"
#include "instrument/identification.h"

namespace qv::app {

// Never returns: the loader ends with the program started, or after the
// system error box when the copy to d:\ or the start failed (exit code 0).
[[noreturn]] void LaunchScopeApplication(const Services& services, instrument::Family family,
                                         bool ram_drive,
                                         const std::optional<std::string>& switch_set);

}  // namespace qv::app
