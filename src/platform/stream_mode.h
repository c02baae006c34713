// The C run time's fopen mode strings: "r", "w", "a", each optionally with
// "+" (update), and "b" (binary) or "t" (text, the default).
#pragma once

#include <optional>
#include <string_view>

namespace qv::platform {

struct StreamMode {
  char access = 'r';    // 'r', 'w' or 'a'
  bool update = false;  // "+": read and write
  bool binary = false;

  // nullopt for a string the run time refuses (EINVAL).
  static std::optional<StreamMode> Parse(std::string_view text);

  bool CanRead() const { return access == 'r' || update; }
  bool CanWrite() const { return access != 'r' || update; }
  bool MustExist() const { return access == 'r'; }
  bool Truncates() const { return access == 'w'; }
  bool Appends() const { return access == 'a'; }
};

}  // namespace qv::platform
