#include "app/launch.h"

#include "app/program_start.h"

namespace qv::app {
namespace {

struct FamilyPrograms {
  const char* installed;
  const char* ram_copy;
};

FamilyPrograms ProgramsOf(instrument::Family family) {
  if (family == instrument::Family::kOdd) {
    return {"c:\\scope\\bin\\qv7311x.exe", "d:\\qv7311x.exe"};
  }
  return {"c:\\scope\\bin\\qv7314x.exe", "d:\\qv7314x.exe"};
}

[[noreturn]] void FailAndExit(const Services& services) {
  services.helpers.SystemErrorBox();
  ExitLoader(services.platform.system);
}

}  // namespace

void LaunchScopeApplication(const Services& services, instrument::Family family, bool ram_drive,
                            const std::optional<std::string>& switch_set) {
  const FamilyPrograms programs = ProgramsOf(family);
  const char* program = programs.installed;
  if (ram_drive) {
    if (!services.platform.files.Copy(programs.installed, programs.ram_copy,
                                      /*fail_if_exists=*/false)) {
      FailAndExit(services);
    }
    program = programs.ram_copy;
  }
  std::vector<std::string_view> arguments{"scope", "/scope", "/qvib"};
  if (switch_set) arguments.push_back(*switch_set);
  StartProgram(services.platform.system, program, arguments);
  FailAndExit(services);
}

}  // namespace qv::app
