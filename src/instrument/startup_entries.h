// Entries that start programs when the system starts: the start of
// cpdll.exe in c:\autoexec.bat, and a deferred installer that an installer
// asks for in c:\acroinst and that is registered to run once at the next
// start unless its registry key shows it has run already.
#pragma once

#include "app/process_state.h"
#include "platform/platform.h"

namespace qv::instrument {

inline constexpr std::string_view kAutoexecEntry = "c:\\scope\\bin\\cpdll.exe";
inline constexpr std::string_view kDeferredInstallerFile = "c:\\acroinst";
inline constexpr std::string_view kRunOnceKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce";
inline constexpr std::string_view kRunOnceValue = "acro";

// Appends the entry (without a line end) to c:\autoexec.bat unless a line
// there already mentions cpdll; leaves c:\ current.
void AddAutoexecEntry(platform::Files& files);

// Reads c:\acroinst (line 1: the command, at most 63 characters; line 2:
// the key whose existence means done, at most 254), registers the command
// under the run-once key and sets the restart flag when the key is
// missing, and deletes the file whatever it holds.
void RegisterDeferredInstaller(platform::Platform platform, app::ProcessState& process);

}  // namespace qv::instrument
