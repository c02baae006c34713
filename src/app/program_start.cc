#include "app/program_start.h"

#include <exception>
#include <string>

namespace qv::app {

void ExitLoader(platform::System& system) {
  system.ExitProcess(0);
  std::terminate();  // the compiler cannot see that a virtual ExitProcess never returns
}

int StartProgram(platform::System& system, std::string_view program,
                 const std::vector<std::string_view>& arguments) {
  std::string command_line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) command_line += ' ';
    command_line += arguments[i];
  }
  if (system.StartProgram(program, command_line)) ExitLoader(system);
  return -1;
}

}  // namespace qv::app
