#include "win32/command_line.h"

namespace qv::win32 {

namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string_view ArgumentsOf(std::string_view line) {
  std::size_t at = 0;
  if (!line.empty() && line[0] == '"') {
    const std::size_t closing = line.find('"', 1);
    at = closing == std::string_view::npos ? line.size() : closing + 1;
  } else {
    while (at < line.size() && !Blank(line[at]))
      ++at;
  }
  while (at < line.size() && Blank(line[at]))
    ++at;
  return line.substr(at);
}

}  // namespace qv::win32
