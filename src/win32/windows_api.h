// <windows.h> for the ports' implementations, without the macros that would
// rename the ports' own members (GetDriveType becoming GetDriveTypeA).
#pragma once

#include <windows.h>

#undef GetDriveType
