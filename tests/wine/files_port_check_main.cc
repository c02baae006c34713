// files_port_check.exe: the Files port's walk on Windows itself, one line
// per step on stdout (tests/wine compares it with the simulator's).
#include <cstdio>

#include "tests/wine/files_port_checks.h"
#include "win32/win32_files.h"

int main() {
  qv::win32::Win32Files files;
  qv::win32::Win32Files side_name(qv::win32::Win32Files::Replace::kSideName);
  for (const std::string& line : qv::wine_test::FilesPortChecks(files, side_name))
    std::printf("%s\n", line.c_str());
  return 0;
}
