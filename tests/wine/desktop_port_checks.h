// One walk through the Desktop port that prints what each step did, run on
// the simulated instrument and, as desktop_port_check.exe, on Windows under
// Wine: the main window, the two dialog templates, the window list, z-order
// and the message loop's end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace qv::wine_test {

// The loader's own process is `own_process`. `on_dialog` runs for each dialog
// the walk makes, while it is open (the Windows program lists its controls).
std::vector<std::string> DesktopPortChecks(
    platform::Desktop& desktop, std::uint32_t own_process,
    const std::function<void(platform::WindowHandle dialog)>& on_dialog = {});

}  // namespace qv::wine_test
