// system_port_check.exe: the Registry and System ports' walk on Windows
// itself, one line per step on stdout.
#include <cstdio>

#include "tests/wine/system_port_checks.h"
#include "win32/win32_registry.h"
#include "win32/win32_system.h"

int main() {
  qv::win32::Win32Registry registry;
  qv::win32::Win32System system;
  for (const std::string& line : qv::wine_test::SystemPortChecks(registry, system))
    std::printf("%s\n", line.c_str());
  return 0;
}
