// A stand-in for the programs the loader starts (the scope application,
// preldr.exe, InstallLan.exe): appends "PROGRAM|COMMAND LINE|CURRENT FOLDER"
// to the file that QV_STARTED_LOG names, and ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char log[MAX_PATH] = {};
  if (::GetEnvironmentVariableA("QV_STARTED_LOG", log, MAX_PATH) == 0) return 1;
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  std::FILE* file = std::fopen(log, "ab");
  if (file == nullptr) return 1;
  std::fprintf(file, "%s|%s|%s\n", program, ::GetCommandLineA(), folder);
  std::fclose(file);
  return 0;
}
