#include "sim/dos_pattern.h"

#include <string>

namespace qv::sim {
namespace {

// Classic glob over bytes, "*" backtracking to the latest star.
bool Glob(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesDosPattern(std::string_view pattern, std::string_view name, platform::CodePage page) {
  const std::string p = platform::FoldName(page, pattern);
  const std::string n = platform::FoldName(page, name);
  if (p == "*.*") return true;
  const bool has_extension = n.find('.') != std::string::npos && n != "." && n != "..";
  if (p.size() > 1 && p.back() == '.' && p[p.size() - 2] != '.') {
    return !has_extension && Glob(std::string_view(p).substr(0, p.size() - 1), n);
  }
  if (Glob(p, n)) return true;
  return p.ends_with(".*") && !has_extension &&
         Glob(std::string_view(p).substr(0, p.size() - 2), n);
}

}  // namespace qv::sim
