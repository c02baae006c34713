#include "tests/wine/stand_in_restart.h"

#include <windows.h>

#include <cstdio>

namespace qv::wine_test {

bool StandInRestart::RequestReboot() {
  char log[MAX_PATH] = {};
  if (::GetEnvironmentVariableA("QV_STARTED_LOG", log, MAX_PATH) == 0) return false;
  std::FILE* file = std::fopen(log, "ab");
  if (file == nullptr) return false;
  std::fputs("reboot\n", file);
  std::fclose(file);
  return true;
}

void StandInRestart::Sleep(std::uint32_t milliseconds) {
  inner().system.Sleep(milliseconds / 10);
}

}  // namespace qv::wine_test
