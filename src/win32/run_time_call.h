// What a failed call left behind, read the moment it returns: the system's
// code and the C run time's errno. Each port call that fails leaves its
// code as the thread's last error too, as the ports promise.
#pragma once

#include "platform/outcome.h"

namespace qv::win32 {

// Clears errno and the run time's copy of the system code before a run-time
// call, so that a failure shows only what that call set.
void BeginRunTimeCall();
// The failure of the run-time call just made: the system code the run time
// kept (_doserrno) with its errno, or errno alone when the run time refused
// by itself.
platform::Failure RunTimeFailure();
// The failure of the Win32 call just made (GetLastError).
platform::Failure SystemFailure();
// Leaves a port's failure as the last error and hands it back.
platform::Failure Leave(platform::Failure failure);

}  // namespace qv::win32
